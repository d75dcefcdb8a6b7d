// Runs the benchmarks named on the command line, as benchmark_main does, and
// ends with a non-zero status when one of them stopped with an error (its
// work did not happen: SkipWithError), so that a broken benchmark is seen
// and not only printed among the figures.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <string_view>
#include <vector>

namespace pelmar::bench {

// The reporter the format flag asks for, with a note of every run that
// stopped with an error.
class StatusReporter : public benchmark::BenchmarkReporter {
public:
    explicit StatusReporter(std::unique_ptr<benchmark::BenchmarkReporter> shown) : shown_(std::move(shown)) {}
    bool ReportContext(const Context& context) override {
        shown_->SetOutputStream(&GetOutputStream());
        shown_->SetErrorStream(&GetErrorStream());
        return shown_->ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.error_occurred) ++failed_;
        shown_->ReportRuns(runs);
    }
    void Finalize() override { shown_->Finalize(); }
    int failed() const { return failed_; }

private:
    std::unique_ptr<benchmark::BenchmarkReporter> shown_;
    int failed_ = 0;
};

// Call in place of Initialize .. Shutdown; returns main's status.
inline int RunBenchmarks(int argc, char** argv) {
    std::string_view format = "console";
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a.starts_with("--benchmark_format=")) format = a.substr(std::strlen("--benchmark_format="));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::unique_ptr<benchmark::BenchmarkReporter> shown;
    if (format == "json") {
        shown = std::make_unique<benchmark::JSONReporter>();
    } else if (format == "csv") {
        // Still the library's own CSV output, which it marks as going away.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        shown = std::make_unique<benchmark::CSVReporter>();
#pragma GCC diagnostic pop
    } else {
        // Coloured on a terminal only, as the library's own console output.
        shown = std::make_unique<benchmark::ConsoleReporter>(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Color
                                                                                    : benchmark::ConsoleReporter::OO_None);
    }
    StatusReporter status(std::move(shown));
    benchmark::RunSpecifiedBenchmarks(&status);
    benchmark::Shutdown();
    if (status.failed() > 0) {
        std::fprintf(stderr, "%d benchmark run(s) stopped with an error\n", status.failed());
        return 1;
    }
    return 0;
}

}  // namespace pelmar::bench
