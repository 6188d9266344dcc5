// nivra-sample-db PATH: writes a sample host database to PATH for the demo and for trying the
// tools by hand. The same content every time.

#include <cstdio>
#include <exception>

#include "tools/sample/SampleDatabase.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: nivra-sample-db PATH\n", stderr);
        return 2;
    }
    try {
        const auto summary = WriteSampleDatabase(argv[1]);
        std::printf("nivra-sample-db: %s: %d series, %d measurements, %d peaks\n", argv[1],
                    summary.series, summary.measurements, summary.peaks);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nivra-sample-db: %s\n", e.what());
        return 1;
    }
}
