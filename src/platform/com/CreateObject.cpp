#include "platform/com/CreateObject.h"

#include "codemodel/RuntimeError.h"
#include "platform/com/ServerLibrary.h"

#include <cstdio>

namespace quillmark::com {
namespace {

constexpr std::int32_t CannotCreateObject = 429;

RuntimeError cannotCreate(const std::string& progid, const std::string& why)
{
    return RuntimeError(CannotCreateObject,
                        "ActiveX コンポーネントはオブジェクトを作成できません。(" + progid + ": " + why + ")");
}

std::string hex(HResult hr)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hr));
    return buffer;
}

} // namespace

ComPtr<IUnknown> CreateObject(const std::string& progid, const Registry& registry)
{
    const std::string classes = ClassesRoot;
    const auto clsidText = registry.GetString(classes + "\\" + progid + "\\CLSID", "");
    if (!clsidText)
        throw cannotCreate(progid, "登録されていません。ライブラリを登録してください (quillmark register)");
    const auto clsid = Guid::Parse(*clsidText);
    if (!clsid)
        throw cannotCreate(progid, "登録されたクラス ID「" + *clsidText + "」が不正です。登録し直してください");
    const auto library = registry.GetString(classes + "\\CLSID\\" + clsid->ToString() + "\\InprocServer32", "");
    if (!library || library->empty())
        throw cannotCreate(progid,
                           "クラス " + clsid->ToString() + " のライブラリが登録されていません。登録し直してください");

    const ServerLibrary* server = nullptr;
    try {
        server = &LoadServerLibrary(*library);
    } catch (const ServerLibraryError& e) {
        throw cannotCreate(progid, std::string(e.what()) + " 登録し直してください (quillmark register)");
    }

    void* factoryPointer = nullptr;
    HResult hr = server->getClassObject(&*clsid, &IID_IClassFactory, &factoryPointer);
    if (Failed(hr) || !factoryPointer)
        throw cannotCreate(progid, "ライブラリ「" + server->path + "」がクラス " + clsid->ToString() +
                                       " を提供しません (" + hex(hr) + ")");
    auto factory = ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(factoryPointer));
    void* object = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, &object);
    if (Failed(hr) || !object)
        throw cannotCreate(progid, "オブジェクトの作成に失敗しました (" + hex(hr) + ")");
    return ComPtr<IUnknown>::Attach(static_cast<IUnknown*>(object));
}

ComPtr<IUnknown> CreateObject(const std::string& progid)
{
    try {
        const Registry registry;
        return CreateObject(progid, registry);
    } catch (const RegistryError& e) {
        throw cannotCreate(progid, e.what());
    }
}

ComPtr<IDispatch> CreateDispatchObject(const std::string& progid)
{
    ComPtr<IDispatch> dispatch = CreateObject(progid).As<IDispatch>(IID_IDispatch);
    if (!dispatch)
        throw cannotCreate(progid, "このクラスはディスパッチ インターフェイスを持ちません");
    return dispatch;
}

} // namespace quillmark::com
