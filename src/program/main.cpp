#include "app/gui/ProcessExit.h"
#include "program/StartUp.h"

int main(int argc, char** argv) {
    // First of all: from the moment the application object exists, SIGTERM and SIGINT end the
    // program through its exit steps.
    cursorial::EndOnTerminationSignals();
    return cursorial::RunCursorial(argc, argv);
}
