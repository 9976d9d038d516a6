// Loading the VBA project of an .xlsm with 100 modules of 2,000 lines each.
#include "ModuleGenerator.h"

#include "sources/documents/DocumentProject.h"
#include "sources/documents/VbaProjectWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iconv.h>

namespace {

namespace writer = quillmark::testing;

// The generated UTF-8 text as the CP932 bytes a Japanese project stores.
std::string ToCp932(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string WritePackage(int modules, std::int32_t lines)
{
    writer::WrittenProject project;
    project.codePage = 932;
    for (int i = 0; i < modules; ++i) {
        const std::string name = "Module" + std::to_string(i + 1);
        writer::WrittenModule module;
        module.name = name;
        module.source = writer::StoredSource(name, ToCp932(quillmark::bench::GenerateModule(lines)));
        project.modules.push_back(std::move(module));
    }
    const auto path = std::filesystem::temp_directory_path() / "quillmark-document-bench.xlsm";
    writer::WriteFile(path.string(), writer::Package(&project));
    return path.string();
}

void BM_LoadDocumentProject(benchmark::State& state)
{
    const std::string path = WritePackage(static_cast<int>(state.range(0)), static_cast<std::int32_t>(state.range(1)));
    for (auto _ : state) {
        auto project = quillmark::LoadDocumentProject(path);
        benchmark::DoNotOptimize(project.get());
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadDocumentProject)->Args({100, 2000})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
