#pragma once

#include "FakeHost.h"
#include "addin/Connect.h"
#include "platform/settings/ConfigHomeGuard.h"
#include "platform/ui/MessageBox.h"
#include "window/qt/ListBox.h"
#include "window/qt/frmAddIn.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillmark::test {

inline const std::string MenuCaption = "ｿｰｽをhtmlに変換する";

// A Connect over a fake editor with one project of two modules (Module1 in the active code
// pane), settings in a temporary folder, and every message recorded.
class ConnectTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    com::HResult ConnectWith(std::int32_t mode);
    com::HResult Disconnect();
    std::string StoredDisplayOnConnect() const;
    void StoreDisplayOnConnect(const std::string& value) const;

    // The converter windows that exist, and the module selected in the only one.
    std::vector<frmAddIn*> Windows() const;
    ListBox& ModuleList() const;

    std::unique_ptr<testing::ConfigHomeGuard> home;
    std::unique_ptr<RecordingMessageBox> messages;
    std::shared_ptr<FakeEditor> editor;
    com::ComPtr<Connect> connect;
    std::vector<com::Variant> custom;

private:
    std::string projectFolder_;
};

} // namespace quillmark::test
