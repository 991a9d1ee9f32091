// Ostrel Corvane: the process entry hands over to the one application object.
#include "tarnovel_app.h"

namespace {
CTarnovelApp theApp;
}

int main(int argc, char** argv) {
    return theApp.Start(argc, argv);
}
