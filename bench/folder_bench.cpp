// `quillmark list` over a folder of many small modules: reading, checking and listing them.
#include "cli/Commands.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

fs::path WriteFolder(int modules)
{
    const fs::path folder = fs::temp_directory_path() / ("quillmark-folder-bench-" + std::to_string(modules));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 1; i <= modules; ++i) {
        const std::string name = "Module" + std::to_string(i);
        std::ofstream(folder / (name + ".bas"), std::ios::binary)
            << "Attribute VB_Name = \"" << name << "\"\r\nSub Procedure" << i << "()\r\n    Debug.Print " << i
            << "\r\nEnd Sub\r\n";
    }
    return folder;
}

void BM_ListFolder(benchmark::State& state)
{
    const fs::path folder = WriteFolder(static_cast<int>(state.range(0)));
    quillmark::cli::Options options;
    options.paths = {folder.string()};
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (quillmark::cli::List(options, out, err) != quillmark::cli::kDone) {
            state.SkipWithError(err.str().c_str());
            break;
        }
        benchmark::DoNotOptimize(out.str().data());
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_ListFolder)->Arg(5'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
