#include "app/Application.h"

int main(int argc, char **argv)
{
    return korvane::runKorvane(argc, argv);
}
