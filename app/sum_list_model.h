// The rows of the check/hash-list window: one per list entry or file, in list order, with what is
// known of each (its name as written, the algorithm, its state and, hashing, its digest). Rows
// arrive and change in batches, each batch one insertion or one change signal, so a list of
// 20,000 entries stays quick to show. The filter shows the failures alone, or every row.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <string>
#include <vector>

#include "sum_list_run.h"
#include "sum_list_texts.h"

class CSumListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, AlgorithmColumn, StateColumn, DigestColumn };
    // The sort key of a row's state: failures before the rest.
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr int kFailureRole = Qt::UserRole + 1;

    explicit CSumListModel(QObject* parent = nullptr);

    // Empties the model for a run; hashing shows a digest column too.
    void Reset(bool check);
    bool Checking() const { return check; }
    // Names below `base` (a folder) show without it.
    void SetShownBase(const std::string& base) { shownBase = base.empty() ? base : base + "/"; }
    void Append(std::vector<ListRow>&& rows);
    void Apply(const std::vector<RowChange>& changes);
    // The rows being read now, with their share read.
    void SetReading(const std::vector<RowsReading>& reading);

    const std::vector<ListRow>& Rows() const { return rows; }
    const SumListTexts::Counts& Counts() const { return counts; }
    // A row as a line of text: "NAME: OK" checking (as corvane-sum -c says it), "DIGEST  NAME"
    // hashing.
    QString LineOf(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void Count(const ListRow& row, int sign);
    std::vector<ListRow> rows;
    std::vector<std::size_t> working;  // rows shown as being read
    SumListTexts::Counts counts;
    bool check = true;
    std::string shownBase;
};

// Shows every row, or only those that did not verify (or could not be hashed).
class CFailureFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CFailureFilter(QObject* parent = nullptr);
    void SetFailuresOnly(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool failuresOnly = false;
};
