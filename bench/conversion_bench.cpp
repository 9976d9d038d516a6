#include "ConversionSetup.h"

#include "conversion/Converter.h"
#include "sources/FileProjects.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

using quillmark::ModHtml;

void BM_ConvertWholeModule(benchmark::State& state)
{
    const quillmark::bench::ConversionSetup setup(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        std::int32_t first = 1;
        std::int32_t last = ModHtml().ModuleLineCount;
        std::string html = quillmark::ConvertToHtml(setup.project, "*", first, last, true);
        benchmark::DoNotOptimize(html.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * setup.sourceBytes));
    state.counters["lines"] = static_cast<double>(ModHtml().ModuleLineCount);
}
BENCHMARK(BM_ConvertWholeModule)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_GetModData(benchmark::State& state)
{
    const quillmark::bench::ConversionSetup setup(static_cast<std::int32_t>(state.range(0)));
    auto& s = ModHtml();
    for (auto _ : state) {
        quillmark::GetModData(setup.project, s.CurrentModuleName, s.ProcCount, s.ModuleLineCount);
        benchmark::DoNotOptimize(s.ProcIndex.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * setup.sourceBytes));
    state.counters["procedures"] = static_cast<double>(s.ProcCount);
}
BENCHMARK(BM_GetModData)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Splitting the text and finding the procedures: done once when a module is opened.
void BM_OpenModule(benchmark::State& state)
{
    const std::string text = quillmark::bench::GenerateModule(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state) {
        quillmark::MemoryCodeModule module("Generated", quillmark::ModuleText(text));
        benchmark::DoNotOptimize(module.Procedures().Blocks().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_OpenModule)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A module file as the command opens it: read, decoded, its export attributes hidden, split into
// lines and its procedures found.
void BM_LoadModuleFile(benchmark::State& state)
{
    const std::string text = "Attribute VB_Name = \"Generated\"\r\n" +
                             quillmark::bench::GenerateModule(static_cast<std::int32_t>(state.range(0)));
    const std::string path = std::filesystem::temp_directory_path() / "quillmark-bench-Generated.bas";
    std::ofstream(path, std::ios::binary) << text;
    for (auto _ : state) {
        auto project = quillmark::OpenProject(path);
        benchmark::DoNotOptimize(project.get());
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadModuleFile)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
