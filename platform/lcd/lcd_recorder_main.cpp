// lcd-recorder [--scale 2|4] [--once] <device> <image.png>
// Stand-in of the front panel: reads the daemon's requests on <device> (a
// FIFO, made when missing, or a plain file that is tailed) and keeps
// <image.png> showing the panel. --once renders a plain file's content and
// exits.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "LcdRecorder.h"

int main(int argc, char** argv)
{
    LcdRecorder::Options options;
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-'; ++arg)
    {
        if (std::strcmp(argv[arg], "--once") == 0)
            options.once = true;
        else if (std::strcmp(argv[arg], "--scale") == 0 && arg + 1 < argc)
            options.scale = std::atoi(argv[++arg]);
        else
            break;
    }
    if (argc - arg != 2 || (options.scale != 2 && options.scale != 4))
    {
        std::fprintf(stderr, "usage: lcd-recorder [--scale 2|4] [--once] <device> <image.png>\n");
        return 2;
    }
    options.device = argv[arg];
    options.image = argv[arg + 1];
    LcdRecorder recorder(options);
    return recorder.run();
}
