#include "QlGTest.h"

#include <stdio.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Wine's orderly process exit can lose the exit code once threads of the
    // socket layer have run (the program then ends with 0): end the Unix
    // process directly with the result.
    fflush(stdout);
    fflush(stderr);
    _exit(result);
}
