// Each of convert's outputs over one generated module, timed per byte of what it writes: every
// row of the output table, so that a new output is measured as soon as it is added.
#include "ConversionSetup.h"

#include "cli/OutputFormats.h"
#include "codemodel/EntryRange.h"
#include "codemodel/TextBackedModule.h"
#include "conversion/Keywords.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quillmark;

void BM_Output(benchmark::State& state, std::string format, bool marked, std::string colours)
{
    const bench::ConversionSetup setup(static_cast<std::int32_t>(state.range(0)));
    const ModHtmlState& s = ModHtml();
    const std::shared_ptr<CodeModule> code = s.HostEditor->ActiveCodePane()->CodeModule();
    std::optional<ModuleText> storage;
    const ModuleView view{s.CurrentModuleName, LinesOf(*code, storage), s.ProcIndex, s.ModuleLineCount};
    const auto keywords = MakeKeywordTable();
    cli::Options options;
    options.format = format;
    options.colours = colours;
    options.links = format != "ansi";
    if (marked) {
        options.lineNumbers = true;
        options.highlighted = {{10, 20}, {5000, 5100}};
    }
    const Entry entry{};
    const LineRange range{1, s.ModuleLineCount};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = cli::FormatOf(options)->write({view, keywords.get(), entry, range, options, "T"});
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["output MB"] = static_cast<double>(bytes) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    for (const cli::OutputFormat& format : cli::OutputFormats()) {
        const bool terminal = (format.takes & cli::TakesColours) != 0;
        for (const char* colours : {"256", "truecolor"}) {
            if (!terminal && colours != std::string_view("256"))
                continue;
            for (const bool marked : {false, true})
                benchmark::RegisterBenchmark(("BM_Output/" + std::string(format.name) +
                                              (terminal ? "/" + std::string(colours) : "") +
                                              (marked ? "/numbered" : ""))
                                                 .c_str(),
                                             BM_Output, std::string(format.name), marked, std::string(colours))
                    ->Arg(100'000)
                    ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
