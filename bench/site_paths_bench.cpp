// Planning a site's paths (PlanPages) when many names become one file name: the names of 20,000
// modules that differ only in characters a file name cannot hold, 20,000 projects of one name,
// 20,000 long names that differ only past the cut; against 20,000 names that differ.
#include "cli/site/SitePaths.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using quillmark::cli::PlanPages;
using quillmark::cli::SiteModule;
using quillmark::cli::SiteProject;

constexpr int kNames = 20'000;

// The i-th name made of five characters that become "_" in a file name.
std::string Unsafe(int i)
{
    static constexpr char kUnsafe[] = "<>:\"|?*\\/";
    std::string name = "Module";
    for (int digit = 0; digit < 5; ++digit, i /= 9)
        name += kUnsafe[i % 9];
    return name;
}

std::vector<SiteProject> OneProject(std::string (*name)(int))
{
    std::vector<SiteProject> projects(1);
    projects[0].name = "Project";
    projects[0].modules.resize(kNames);
    for (int i = 0; i < kNames; ++i)
        projects[0].modules[i].name = name(i);
    return projects;
}

void Plan(benchmark::State& state, const std::vector<SiteProject>& projects)
{
    for (auto _ : state) {
        std::vector<SiteProject> planned = projects;
        PlanPages(planned);
        benchmark::DoNotOptimize(planned.back().modules.back().page.data());
    }
}

void BM_DifferentNames(benchmark::State& state)
{
    Plan(state, OneProject([](int i) { return "Module" + std::to_string(i); }));
}
BENCHMARK(BM_DifferentNames)->Unit(benchmark::kMillisecond);

void BM_NamesOfOneFileName(benchmark::State& state)
{
    Plan(state, OneProject(Unsafe));
}
BENCHMARK(BM_NamesOfOneFileName)->Unit(benchmark::kMillisecond);

void BM_LongNamesAlikeToTheCut(benchmark::State& state)
{
    Plan(state, OneProject([](int i) { return std::string(300, 'a') + std::to_string(i); }));
}
BENCHMARK(BM_LongNamesAlikeToTheCut)->Unit(benchmark::kMillisecond);

void BM_ProjectsOfOneName(benchmark::State& state)
{
    std::vector<SiteProject> projects(kNames);
    for (SiteProject& project : projects) {
        project.name = "Book1.xlsm";
        project.modules.resize(1);
        project.modules[0].name = "Module1";
    }
    Plan(state, projects);
}
BENCHMARK(BM_ProjectsOfOneName)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
