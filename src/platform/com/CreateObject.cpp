#include "platform/com/CreateObject.h"

#include "base/RuntimeError.h"
#include "platform/com/ServerLibrary.h"

#include <cstdio>
#include <optional>

namespace quillmark::com {
namespace {

constexpr std::int32_t CannotCreateObject = 429;

RuntimeError CannotCreate(const std::string& progid, const std::string& why)
{
    return RuntimeError(CannotCreateObject,
                        "ActiveX コンポーネントはオブジェクトを作成できません。(" + progid + ": " + why + ")");
}

} // namespace

ComPtr<IUnknown> CreateObject(const std::string& progid, const Registry& registry)
{
    const std::string classes = ClassesRoot;
    const auto clsidText = registry.GetString(classes + "\\" + progid + "\\CLSID", "");
    if (!clsidText)
        throw CannotCreate(progid, "登録されていません。ライブラリを登録してください (quillmark register)");
    const auto clsid = Guid::Parse(*clsidText);
    if (!clsid)
        throw CannotCreate(progid, "登録されたクラス ID「" + *clsidText + "」が不正です。登録し直してください");
    const auto library = registry.GetString(classes + "\\CLSID\\" + clsid->ToString() + "\\InprocServer32", "");
    if (!library || library->empty())
        throw CannotCreate(progid,
                           "クラス " + clsid->ToString() + " のライブラリが登録されていません。登録し直してください");

    const ServerLibrary* server = nullptr;
    try {
        server = &LoadServerLibrary(*library);
    } catch (const RuntimeError& e) {
        throw CannotCreate(progid, e.Description() + " 登録し直してください (quillmark register)");
    }

    void* factoryPointer = nullptr;
    HResult hr = server->getClassObject(&*clsid, &IID_IClassFactory, &factoryPointer);
    if (Failed(hr) || !factoryPointer)
        throw CannotCreate(progid, "ライブラリ「" + server->path + "」がクラス " + clsid->ToString() +
                                       " を提供しません (" + HResultText(hr) + ")");
    auto factory = ComPtr<IClassFactory>::Attach(static_cast<IClassFactory*>(factoryPointer));
    void* object = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, &object);
    if (Failed(hr) || !object)
        throw CannotCreate(progid, "オブジェクトの作成に失敗しました (" + HResultText(hr) + ")");
    return ComPtr<IUnknown>::Attach(static_cast<IUnknown*>(object));
}

ComPtr<IUnknown> CreateObject(const std::string& progid)
{
    std::optional<Registry> registry;
    try {
        registry.emplace();
    } catch (const RuntimeError& e) {
        throw CannotCreate(progid, e.Description());
    }
    return CreateObject(progid, *registry);
}

ComPtr<IDispatch> CreateDispatchObject(const std::string& progid)
{
    ComPtr<IDispatch> dispatch = CreateObject(progid).As<IDispatch>(IID_IDispatch);
    if (!dispatch)
        throw CannotCreate(progid, "このクラスはディスパッチ インターフェイスを持ちません");
    return dispatch;
}

} // namespace quillmark::com
