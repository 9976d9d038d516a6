#include "platform/com/ComObject.h"
#include "platform/com/Dispatch.h"
#include "platform/com/Guid.h"
#include "platform/com/HostObject.h"
#include "platform/com/Variant.h"

#include "base/RuntimeError.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillmark::com {
namespace {

constexpr Guid IID_ICounter = MakeGuid("3F2504E0-4F89-11D3-9A0C-0305E82C3301");

class ICounter : public IDispatch {
public:
    virtual std::int32_t Count() = 0;
    virtual void Add(std::int32_t n) = 0;

protected:
    ~ICounter() = default;
};

// A small dual class: early-bound Count/Add, late-bound by name or id.
class Counter final : public ComObject<Counter, ICounter> {
public:
    static inline int destroyed = 0;
    ~Counter() override { ++destroyed; }

    void* Interface(const Guid& iid)
    {
        return iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ICounter ? static_cast<ICounter*>(this)
                                                                                  : nullptr;
    }
    HResult GetIDsOfNames(const std::string& name, DispId* id) override { return table().GetIDsOfNames(name, id); }
    HResult Invoke(DispId id, std::uint16_t kind, std::vector<Variant>& args, Variant* result,
                   ExcepInfo* excep) override
    {
        return table().Invoke(*this, id, kind, args, result, excep);
    }
    std::int32_t Count() override { return count_; }
    void Add(std::int32_t n) override { count_ = CheckedAdd(count_, n); }

private:
    static const DispatchTable<Counter>& table()
    {
        using M = DispatchMember<Counter>;
        static const DispatchTable<Counter> t({
            M{"Count", 1, PropertyGet, 0, [](Counter& c, auto&) { return Variant(c.Count()); }},
            M{"Count", 1, PropertyPut, 1,
              [](Counter& c, auto& args) {
                  c.count_ = args[0].ToInt32();
                  return Variant();
              }},
            M{"Add", 2, Method, 1,
              [](Counter& c, auto& args) {
                  c.Add(args[0].ToInt32());
                  return Variant();
              }},
            M{"Twice", 3, Method, 1,
              [](Counter&, auto& args) {
                  args[0] = Variant(args[0].ToString() + args[0].ToString());
                  return Variant();
              }},
        });
        return t;
    }
    std::int32_t count_ = 0;
};

TEST(GuidTest, RoundTripsThroughTheRegistryForm)
{
    constexpr Guid g = MakeGuid("8fbef8d7-0557-40b2-91f0-e13dd07d77fa");
    EXPECT_EQ(g.ToString(), "{8FBEF8D7-0557-40B2-91F0-E13DD07D77FA}");
    EXPECT_EQ(Guid::Parse(g.ToString()), g);
    EXPECT_EQ(Guid::Parse("8FBEF8D7-0557-40B2-91F0-E13DD07D77FA"), g);
    for (const char* bad : {"", "{8FBEF8D7-0557-40B2-91F0-E13DD07D77F}", "8FBEF8D7-0557-40B2-91F0-E13DD07D77FAX",
                            "{8FBEF8D7x0557-40B2-91F0-E13DD07D77FA}", "{8FBEF8D7-0557-40B2-91F0-E13DD07D77FG}"})
        EXPECT_FALSE(Guid::Parse(bad)) << bad;
}

TEST(VariantTest, ConvertsAsTheLanguageDoes)
{
    EXPECT_EQ(Variant(true).ToInt32(), -1);
    EXPECT_EQ(Variant(std::int16_t{7}).ToInt32(), 7);
    EXPECT_EQ(Variant(2.5).ToInt32(), 2);
    EXPECT_EQ(Variant(3.5).ToInt32(), 4);
    EXPECT_EQ(Variant(" 12").ToInt32(), 12);
    EXPECT_EQ(Variant(0.0).ToBool(), false);
    EXPECT_EQ(Variant("True").ToBool(), true);
    EXPECT_EQ(Variant(1.25).ToString(), "1.25");
    EXPECT_EQ(Variant().ToString(), "");
    EXPECT_DOUBLE_EQ(Variant(std::int32_t{1500}).ToDouble(), 1500.0);

    auto number = [](const auto& call) {
        try {
            call();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { Variant(40000).ToInt16(); }), err::Overflow);
    EXPECT_EQ(number([] { Variant(1e12).ToInt32(); }), err::Overflow);
    EXPECT_EQ(number([] { Variant("abc").ToInt32(); }), err::TypeMismatch);
    EXPECT_EQ(number([] { Variant("1x").ToDouble(); }), err::TypeMismatch);
    EXPECT_EQ(number([] { Variant(Variant::Nothing()).ToString(); }), err::TypeMismatch);
    EXPECT_EQ(number([] { Variant(1).ToObject(); }), err::ObjectRequired);
    EXPECT_FALSE(Variant::Nothing().ToObject());
}

TEST(ComObjectTest, CountsReferencesAndAnswersOnlyItsInterfaces)
{
    Counter::destroyed = 0;
    const long before = LiveObjects();
    {
        ComPtr<ICounter> counter = MakeObject<Counter, ICounter>();
        EXPECT_EQ(LiveObjects(), before + 1);
        ComPtr<IDispatch> dispatch = counter.As<IDispatch>(IID_IDispatch);
        ASSERT_TRUE(dispatch);
        EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(counter.Get()));
        EXPECT_FALSE(counter.As<IClassFactory>(IID_IClassFactory));
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(counter->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(counter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
        EXPECT_EQ(Counter::destroyed, 0);
    }
    EXPECT_EQ(Counter::destroyed, 1);
    EXPECT_EQ(LiveObjects(), before);
}

TEST(ComObjectTest, FactoryCreatesByInterfaceAndRefusesAggregation)
{
    auto factory = MakeObject<ClassFactory<Counter>, IClassFactory>();
    void* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ICounter, &object), S_OK);
    auto counter = ComPtr<ICounter>::Attach(static_cast<ICounter*>(object));
    counter->Add(2);
    EXPECT_EQ(counter->Count(), 2);
    EXPECT_EQ(factory->CreateInstance(counter.Get(), IID_ICounter, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    const long before = LiveObjects();
    factory->LockServer(true);
    EXPECT_EQ(LiveObjects(), before + 1);
    factory->LockServer(false);
    EXPECT_EQ(LiveObjects(), before);
}

TEST(DispatchTest, LateBindingByNameAndIdMatchesEarlyBinding)
{
    auto counter = MakeObject<Counter, ICounter>();
    CallByName(*counter, "add", Method, {Variant(5)});
    CallById(*counter, 2, Method, {Variant("3")});
    EXPECT_EQ(counter->Count(), 8);
    EXPECT_EQ(CallByName(*counter, "COUNT", PropertyGet), Variant(8));
    // Late binding asks for a method or a property at once.
    EXPECT_EQ(CallById(*counter, 1, Method | PropertyGet), Variant(8));
    CallById(*counter, 1, PropertyPut, {Variant(std::int16_t{1})});
    EXPECT_EQ(counter->Count(), 1);

    std::vector<Variant> byRef{Variant("ab")};
    CallById(*counter, 3, Method, byRef);
    EXPECT_EQ(byRef[0], Variant("abab"));
}

TEST(DispatchTest, FailuresArriveAsTheirErrors)
{
    auto counter = MakeObject<Counter, ICounter>();
    DispId id = 0;
    EXPECT_EQ(counter->GetIDsOfNames("Missing", &id), DISP_E_UNKNOWNNAME);
    std::vector<Variant> none;
    EXPECT_EQ(counter->Invoke(99, Method, none, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(counter->Invoke(2, PropertyGet, none, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(counter->Invoke(2, Method, none, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
    std::vector<Variant> text{Variant("x")};
    EXPECT_EQ(counter->Invoke(2, Method, text, nullptr, nullptr), DISP_E_TYPEMISMATCH);

    counter->Add(std::numeric_limits<std::int32_t>::max());
    std::vector<Variant> one{Variant(1)};
    ExcepInfo excep;
    EXPECT_EQ(counter->Invoke(2, Method, one, nullptr, &excep), DISP_E_EXCEPTION);
    EXPECT_EQ(excep.number, err::Overflow);
    EXPECT_EQ(excep.description, ErrorDescription(err::Overflow));

    auto number = [&](const auto& call) {
        try {
            call();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { CallByName(*counter, "Missing", Method); }), err::MemberNotSupported);
    EXPECT_EQ(number([&] { CallByName(*counter, "Add", Method, {Variant(1)}); }), err::Overflow);
    EXPECT_EQ(number([&] { CallByName(*counter, "Add", Method); }), 450);
}

TEST(HostObjectTest, CarriesTheEditorsObjectOnlyUnderItsOwnIdentifier)
{
    constexpr Guid IID_Text = MakeGuid("11111111-2222-3333-4444-555555555555");
    constexpr Guid IID_Other = MakeGuid("11111111-2222-3333-4444-666666666666");
    auto text = std::make_shared<std::string>("editor");
    ComPtr<IUnknown> wrapped = WrapHostObject(IID_Text, text);
    Variant carried(wrapped);
    EXPECT_EQ(UnwrapHostObject<std::string>(IID_Text, carried.ToObject().Get()), text);
    EXPECT_FALSE(UnwrapHostObject<std::string>(IID_Other, wrapped.Get()));
    EXPECT_FALSE(WrapHostObject(IID_Text, std::shared_ptr<std::string>()));
    EXPECT_FALSE(UnwrapHostObject<std::string>(IID_Text, nullptr));
}

} // namespace
} // namespace quillmark::com
