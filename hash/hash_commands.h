// The "Hash file" and "Hash string" commands, apart from any window system: they see the dialog
// only through three operations.
#pragma once

#include <string>

#include "hash_request.h"

enum : int {
    kFilePathBoxId = 1000,
    kAlgorithmListId = 1002,
    kStringBoxId = 1003,
    kOutputBoxId = 1005,
};

class DialogControls {
public:
    virtual ~DialogControls() = default;
    virtual std::string GetControlText(int id) const = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual int GetSelectedIndex() const = 0;  // of the algorithm list; -1 when none
};

void OnHashFile(DialogControls& dialog, HashRequest& request);
void OnHashString(DialogControls& dialog, HashRequest& request);

// Sets the request's algorithm (and SHA-2 width) as the list entry at `index` selects it; false
// when the index is past the list, and nothing is to be computed.
bool SelectAlgorithm(int index, HashRequest& request);
