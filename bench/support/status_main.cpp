// The main of the benchmarks that have no window to set up.
#include "bench_status.h"

int main(int argc, char** argv) { return pelmar::bench::RunBenchmarks(argc, argv); }
