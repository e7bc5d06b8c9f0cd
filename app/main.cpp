#include "app/Application.h"

int main(int argc, char **argv)
{
    return runKorvane(argc, argv);
}
