// The application object: the process's start-up, which runs the main dialog modally and ends.
#pragma once

class CTarnovelApp {
public:
    // The start-up that main hands over to: keeps the process arguments for Qt (the application
    // itself reads none), calls InitInstance and returns the process exit status.
    int Start(int argc, char** argv);

    // Creates the Qt application when there is none yet, runs the main dialog modally and returns
    // false: there is no main loop after the dialog, so the process ends when it closes.
    bool InitInstance();

private:
    int argc_ = 0;
    char** argv_ = nullptr;
};
