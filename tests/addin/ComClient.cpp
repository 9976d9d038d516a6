// A separate console client process: creates Quillmark.CMMTimer by its programmatic identifier
// and drives it by dispatch id only, then asks Quillmark.Connect for its window, which a
// process without widgets cannot have. Prints one "name=value" line per reading.

#include "base/RuntimeError.h"
#include "platform/com/CreateObject.h"

#include <chrono>
#include <cstdio>
#include <thread>

using namespace quillmark;
using namespace quillmark::com;

int main()
{
    try {
        ComPtr<IDispatch> timer = CreateDispatchObject("Quillmark.CMMTimer");
        auto get = [&](DispId id) { return CallById(*timer, id, PropertyGet); };
        std::printf("ScaleFactor=%s\n", get(0x68030000).ToString().c_str());
        std::printf("ElapsedTime=%s\n", get(0x68030001).ToString().c_str());
        CallById(*timer, 0x68030000, PropertyPut, {Variant(1)});
        CallById(*timer, 0x68030000, PropertyPut, {Variant(-5)});
        std::printf("ScaleFactor=%s\n", get(0x68030000).ToString().c_str());
        CallById(*timer, 0x60030004, Method);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        CallById(*timer, 0x60030005, Method);
        std::printf("Stopped=%s\n", get(0x68030001).ToString().c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        std::printf("Later=%s\n", get(0x68030001).ToString().c_str());
        CallById(*timer, 0x60030003, Method);
        std::printf("ByName=%s\n", CallByName(*timer, "elapsedtime", PropertyGet).ToString().c_str());

        ComPtr<IDispatch> connect = CreateDispatchObject("Quillmark.Connect");
        CallById(*connect, 0x60030001, Method);
        std::printf("FormDisplayed=%s\n", CallById(*connect, 0x40030000, PropertyGet).ToString().c_str());
        CallByName(*connect, "Hide", Method);
        std::printf("FormDisplayed=%s\n", CallById(*connect, 0x40030000, PropertyGet).ToString().c_str());
        return 0;
    } catch (const RuntimeError& e) {
        std::printf("Error %d: %s\n", e.Number(), e.Description().c_str());
        return 1;
    }
}
