// Benchmarks run with the memory settings of the program.
#include <benchmark/benchmark.h>

#include "platform/Memory.h"

int main(int argc, char** argv) {
    platform::TuneMemoryAllocator();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
