// The application object: the process's start-up, which runs the main dialog modally and ends.
#pragma once

class CTarnovelApp {
public:
    // The start-up that main hands over to: keeps the process arguments, calls InitInstance and
    // returns the process exit status. A hashing thread left behind in a read that does not
    // return (see CHashJob) does not hold the process: it then ends at once.
    int Start(int argCount, char** argValues);

    // Creates the Qt application when there is none yet, runs the main dialog modally and returns
    // false: there is no main loop after the dialog, so the process ends when it closes. With a
    // file argument (`corvane FILE`, as a file manager's "Open With" starts it), the dialog opens
    // with FILE in its path box and hashes it at once. A checksum list opens the list window in
    // check mode, several files or a folder in hash mode.
    bool InitInstance();

private:
    int argc = 0;
    char** argv = nullptr;
};
