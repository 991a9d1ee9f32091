// The list window's rows.
#include "sum_list_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "byte_names.h"
#include "sum_file.h"
#include "verify_texts.h"

namespace {

bool IsFailure(RowState state) {
    return state == RowState::Failed || state == RowState::Missing ||
           state == RowState::Unreadable || state == RowState::Improper;
}

// Failures first, then what is still to come, then the rest.
int SortRank(RowState state) {
    switch (state) {
        case RowState::Failed:
            return 0;
        case RowState::Missing:
            return 1;
        case RowState::Unreadable:
            return 2;
        case RowState::Improper:
            return 3;
        case RowState::Stopped:
            return 4;
        case RowState::Working:
            return 5;
        case RowState::Waiting:
            return 6;
        case RowState::Ok:
            break;
    }
    return 7;
}

}  // namespace

CSumListModel::CSumListModel(QObject* parent) : QAbstractTableModel(parent) {}

void CSumListModel::Reset(bool checking) {
    beginResetModel();
    check = checking;
    rows.clear();
    working.clear();
    counts = {};
    endResetModel();
    // The view keeps the headers it had when the columns change in number.
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void CSumListModel::Count(const ListRow& row, int sign) {
    std::size_t* counter = nullptr;
    switch (row.state) {
        case RowState::Waiting:
        case RowState::Working:
            counter = &counts.waiting;
            break;
        case RowState::Ok:
            counter = &counts.ok;
            break;
        case RowState::Failed:
            counter = &counts.failed;
            break;
        case RowState::Missing:
            counter = &counts.missing;
            break;
        case RowState::Unreadable:
            counter = &counts.unreadable;
            break;
        case RowState::Improper:
            counter = &counts.improper;
            break;
        case RowState::Stopped:
            counter = &counts.stopped;
            break;
    }
    *counter = sign > 0 ? *counter + 1 : *counter - 1;
}

void CSumListModel::Append(std::vector<ListRow>&& added) {
    if (added.empty()) return;
    const int first = static_cast<int>(rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(added.size()) - 1);
    for (ListRow& row : added) {
        Count(row, +1);
        rows.push_back(std::move(row));
    }
    endInsertRows();
}

void CSumListModel::Apply(const std::vector<RowChange>& changes) {
    if (changes.empty()) return;
    std::size_t low = rows.size(), high = 0;
    for (const RowChange& change : changes) {
        if (change.row >= rows.size()) continue;
        ListRow& row = rows[change.row];
        Count(row, -1);
        row.state = change.state;
        if (change.algorithm) row.algorithm = change.algorithm;
        row.digest = change.digest;
        row.error = change.error;
        Count(row, +1);
        low = std::min(low, change.row);
        high = std::max(high, change.row);
    }
    if (low <= high)
        emit dataChanged(index(static_cast<int>(low), 0),
                         index(static_cast<int>(high), columnCount() - 1));
}

void CSumListModel::SetReading(const std::vector<RowsReading>& reading) {
    std::vector<std::size_t> now;
    for (const RowsReading& meter : reading) {
        const int percent =
            meter.total == 0
                ? 0
                : static_cast<int>(std::min<uint64_t>(100, meter.done * 100 / meter.total));
        for (std::size_t row = meter.first; row < meter.first + meter.count && row < rows.size();
             ++row) {
            if (rows[row].state != RowState::Waiting && rows[row].state != RowState::Working)
                continue;
            rows[row].state = RowState::Working;
            rows[row].percent = percent;
            now.push_back(row);
        }
    }
    // Rows no longer read but not decided yet wait again (a candidate's second read).
    for (const std::size_t row : working)
        if (rows[row].state == RowState::Working &&
            std::find(now.begin(), now.end(), row) == now.end())
            rows[row].state = RowState::Waiting;
    std::vector<std::size_t> touched = std::move(working);
    touched.insert(touched.end(), now.begin(), now.end());
    working = std::move(now);
    if (touched.empty()) return;
    const auto [low, high] = std::minmax_element(touched.begin(), touched.end());
    emit dataChanged(index(static_cast<int>(*low), StateColumn),
                     index(static_cast<int>(*high), StateColumn));
}

QString CSumListModel::LineOf(int r) const {
    const ListRow& row = rows[static_cast<std::size_t>(r)];
    if (!check && row.state == RowState::Ok && row.algorithm) {
        std::string line = FormatSumLine(*row.algorithm, row.digest, row.name);
        line.pop_back();
        return ShownName(line);
    }
    return ShownName(row.name) + QStringLiteral(": ") +
           SumListTexts::State(row.state, check, row.percent, row.error);
}

int CSumListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int CSumListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return check ? 3 : 4;
}

QVariant CSumListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ListRow& row = rows[static_cast<std::size_t>(index.row())];
    if (role == kFailureRole) return IsFailure(row.state);
    if (role == kSortRole) {
        if (index.column() == StateColumn) return SortRank(row.state);
        return data(index, Qt::DisplayRole);
    }
    if (role == Qt::ForegroundRole && index.column() == StateColumn && IsFailure(row.state))
        return QBrush(QColor(0xb0, 0x1e, 0x1e));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
        case NameColumn:
            if (row.state == RowState::Improper && row.name.empty() && row.line != 0)
                return SumListTexts::LineNumber(row.line);
            if (role != Qt::ToolTipRole && !shownBase.empty() && shownBase != "//" &&
                row.name.starts_with(shownBase))
                return ShownName(row.name.substr(shownBase.size()));
            return ShownName(row.name);
        case AlgorithmColumn:
            return row.algorithm ? VerifyTexts::AlgorithmNames({*row.algorithm}) : QString();
        case StateColumn:
            return SumListTexts::State(row.state, check, row.percent, row.error);
        case DigestColumn:
            return QString::fromStdString(row.digest);
        default:
            return {};
    }
}

QVariant CSumListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case NameColumn:
            return SumListTexts::NameColumn();
        case AlgorithmColumn:
            return SumListTexts::AlgorithmColumn();
        case StateColumn:
            return SumListTexts::StateColumn();
        case DigestColumn:
            return SumListTexts::DigestColumn();
        default:
            return {};
    }
}

CFailureFilter::CFailureFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(CSumListModel::kSortRole);
}

void CFailureFilter::SetFailuresOnly(bool only) {
    failuresOnly = only;
    invalidateRowsFilter();
}

bool CFailureFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!failuresOnly) return true;
    return sourceModel()
        ->index(sourceRow, 0, sourceParent)
        .data(CSumListModel::kFailureRole)
        .toBool();
}
