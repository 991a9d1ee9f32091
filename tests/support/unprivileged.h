// Drops the effective user id to "nobody" for a scope when the tests run as root, so file
// permissions apply to them; root is restored when the scope ends.
#pragma once

#include <unistd.h>

class Unprivileged {
public:
    Unprivileged() {
        if (geteuid() == 0) dropped = seteuid(kNobody) == 0;
    }
    ~Unprivileged() {
        if (dropped && seteuid(0) != 0) _exit(99);  // never go on half-privileged
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

    // True when permissions bind: not root, or root given up for this scope.
    bool PermissionsApply() const { return geteuid() != 0; }

private:
    static constexpr uid_t kNobody = 65534;
    bool dropped = false;
};
