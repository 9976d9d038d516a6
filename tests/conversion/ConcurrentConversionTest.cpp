// The engine keeps no state of its own: modules converted on several threads at once give the
// bytes one thread gives. The sanitizer build runs this under ThreadSanitizer.
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "conversion/LinkLists.h"
#include "sources/FileProjects.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillmark::test {
namespace {

struct Module {
    std::shared_ptr<MemoryCodeModule> code;
    ProcedureIndex index;

    std::string Convert(const KeywordTable& keywords) const
    {
        const std::string name = code->Name();
        const ModuleView view{name, code->Text(), index, std::max(code->CountOfLines(), 1)};
        return ConvertRange(view, &keywords, Entry{}, 1, view.lineCount,
                            [&] { return LinkList(view.name, view.index, Entry{}); });
    }
};

TEST(ConcurrentConversion, TwoThreadsGiveTheBytesOfOne)
{
    const auto project = OpenProject(std::string(QUILLMARK_SOURCE_DIR) + "/examples/Sample");
    std::vector<Module> modules;
    for (const auto& component : project->Components()->All())
        modules.push_back({component->Module(), IndexOf(component->Module()->Procedures().Blocks())});
    ASSERT_GE(modules.size(), 2u);
    const auto keywords = MakeKeywordTable();

    std::vector<std::string> alone;
    for (const Module& module : modules)
        alone.push_back(module.Convert(*keywords));

    constexpr int Rounds = 20;
    std::vector<std::vector<std::string>> together(2);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < Rounds; ++round)
                for (std::size_t m = t; m < modules.size(); m += 2)
                    together[t].push_back(modules[m].Convert(*keywords));
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (std::size_t t = 0; t < 2; ++t) {
        std::size_t k = 0;
        for (int round = 0; round < Rounds; ++round)
            for (std::size_t m = t; m < modules.size(); m += 2)
                EXPECT_EQ(together[t][k++], alone[m]) << "module " << m << ", round " << round;
    }
}

} // namespace
} // namespace quillmark::test
