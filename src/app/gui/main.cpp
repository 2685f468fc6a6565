#include "app/gui/StartUp.h"

int main(int argc, char** argv) {
    return cursorial::RunCursorial(argc, argv);
}
