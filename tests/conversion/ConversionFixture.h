#pragma once

#include "base/RuntimeError.h"
#include "conversion/Converter.h"
#include "conversion/Keywords.h"
#include "modhtml/ModHtml.h"
#include "modhtml/SharedSetProcedures.h"
#include "sources/MemorySource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillmark::test {

// One module in a one-project editor whose code window shows it, made the current module
// with the given procedure index, and the keyword table built.
class ConversionFixture : public ::testing::Test {
protected:
    void SetUp() override { ModHtml() = ModHtmlState{}; }
    void TearDown() override { ModHtml() = ModHtmlState{}; }

    void Load(const std::string& name, const std::vector<std::string>& lines, std::vector<ProcRecord> index = {})
    {
        module_ = std::make_shared<MemoryCodeModule>(name, ModuleText::FromLines(lines), std::vector<ProcRecord>{});
        project_ = std::make_shared<MemoryProject>(
            "/projects/Book1.xlsm", std::vector{std::make_shared<MemoryComponent>(vbext_ct::StdModule, module_)});
        ModHtmlState& state = ModHtml();
        state.HostEditor = std::make_shared<MemoryEditor>(std::vector<std::shared_ptr<VBProject>>{project_}, project_,
                                                          std::make_shared<MemoryCodePane>(module_));
        state.CurrentProject = project_;
        ASSERT_TRUE(InitKeywords());
        state.ProcCount = static_cast<std::int32_t>(index.size());
        if (index.empty())
            index.push_back({"", 0, 0}); // a module without procedures
        state.ProcIndex = std::move(index);
        state.ModuleLineCount = std::max<std::int32_t>(module_->CountOfLines(), 1);
    }

    std::string Convert(const std::string& entry, std::int32_t first, std::int32_t last, bool links = false)
    {
        return ConvertToHtml(project_, entry, first, last, links);
    }

    std::string ConvertAll(bool links = false) { return Convert("*", 1, module_->CountOfLines(), links); }

    // The error number a conversion fails with; nothing when it succeeds.
    static std::optional<std::int32_t> FailureOf(const std::function<void()>& conversion)
    {
        try {
            conversion();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return std::nullopt;
    }

    static std::string Join(const std::vector<std::string>& lines)
    {
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i)
            joined += (i > 0 ? "\r\n" : "") + lines[i];
        return joined;
    }

    std::shared_ptr<MemoryCodeModule> module_;
    std::shared_ptr<MemoryProject> project_;
};

} // namespace quillmark::test
