// The window's text views with a converted module: setting the HTML, reading it back, and the
// whole "変換" click around them.
#include "ConversionSetup.h"

#include "conversion/Converter.h"
#include "window/qt/FormLayout.h"
#include "window/qt/TextView.h"
#include "window/qt/frmAddIn.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <array>

namespace {

using quillmark::ModHtml;

// The module converted with and without links: two texts of almost one size, so that every
// iteration sets a text other than the one the view holds.
struct HtmlPair {
    quillmark::bench::ConversionSetup setup;
    std::array<std::string, 2> html;

    explicit HtmlPair(std::int32_t lineCount) : setup(lineCount)
    {
        for (const bool links : {false, true}) {
            std::int32_t first = 1;
            std::int32_t last = ModHtml().ModuleLineCount;
            html[links ? 1 : 0] = quillmark::ConvertToHtml(setup.project, "*", first, last, links);
        }
    }
};

// The form's controls on a shown client, the HTML view on top as the convert command leaves it.
struct ShownForm {
    QWidget client;
    quillmark::FormWidgets c;

    ShownForm()
    {
        quillmark::InstallFontSubstitutions();
        client.resize(quillmark::ClientWidth, quillmark::ClientHeight);
        c = quillmark::BuildFormWidgets(&client);
        client.show();
        c.rtb2->setVisible(false);
        c.rtb1->setVisible(true);
        QApplication::processEvents();
    }
};

void SetCounters(benchmark::State& state, const std::string& text)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

// What the convert command does with its result: caret to the start, then the new text; with
// the second argument 1, until the view has painted its first lines.
void BM_SetHtmlView(benchmark::State& state)
{
    const HtmlPair texts(static_cast<std::int32_t>(state.range(0)));
    const bool paint = state.range(1) != 0;
    ShownForm form;
    std::size_t next = 0;
    for (auto _ : state) {
        quillmark::SetCaretToStart(form.c.rtb1);
        quillmark::SetViewText(form.c.rtb1, texts.html[next]);
        if (paint)
            form.c.rtb1->viewport()->repaint();
        next = 1 - next;
    }
    SetCounters(state, texts.html[0]);
}
BENCHMARK(BM_SetHtmlView)
    ->Args({10'000, 0})
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The append mode: the view holds one conversion and gets another after it.
void BM_AppendHtmlView(benchmark::State& state)
{
    const HtmlPair texts(static_cast<std::int32_t>(state.range(0)));
    ShownForm form;
    const std::string added = "\r\n" + texts.html[1];
    for (auto _ : state) {
        state.PauseTiming();
        quillmark::SetViewText(form.c.rtb1, texts.html[0]);
        state.ResumeTiming();
        quillmark::SetCaretToStart(form.c.rtb1);
        quillmark::AppendViewText(form.c.rtb1, added);
    }
    SetCounters(state, added);
}
BENCHMARK(BM_AppendHtmlView)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The copy command reads the whole view back; with the second argument 1 after the user has
// edited the view, so that only the document holds the text.
void BM_ReadHtmlView(benchmark::State& state)
{
    const HtmlPair texts(static_cast<std::int32_t>(state.range(0)));
    ShownForm form;
    quillmark::SetViewText(form.c.rtb1, texts.html[1]);
    if (state.range(1) != 0)
        QTextCursor(form.c.rtb1->document()).insertText(QStringLiteral("x"));
    for (auto _ : state) {
        std::string text = quillmark::ViewText(form.c.rtb1);
        benchmark::DoNotOptimize(text.data());
    }
    SetCounters(state, texts.html[1]);
}
BENCHMARK(BM_ReadHtmlView)->ArgsProduct({{10'000, 100'000}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole "変換" click on the module, the link option switched every time so that each click
// shows a new text. The counter "shown" is the mean of the seconds the status line reports,
// which cover the filling of the view as the click's own time does.
void BM_ConvertClick(benchmark::State& state)
{
    const quillmark::bench::ConversionSetup setup(static_cast<std::int32_t>(state.range(0)));
    quillmark::frmAddIn window;
    window.Show();
    auto* convert = window.findChild<QPushButton*>(QStringLiteral("cmd1"));
    auto* links = window.findChild<QCheckBox*>(QStringLiteral("Check1"));
    auto* status = window.findChild<QLabel*>(QStringLiteral("lbl5"));
    if (convert == nullptr || links == nullptr || status == nullptr) {
        state.SkipWithError("the window lacks a control");
        return;
    }
    double shown = 0;
    for (auto _ : state) {
        links->setChecked(!links->isChecked());
        convert->click();
        state.PauseTiming();
        shown += window.locale().toDouble(status->text().section(QLatin1Char(' '), 1, 1));
        state.ResumeTiming();
    }
    state.counters["shown"] = benchmark::Counter(shown, benchmark::Counter::kAvgIterations);
    state.counters["lines"] = static_cast<double>(ModHtml().ModuleLineCount);
    window.Unload();
}
BENCHMARK(BM_ConvertClick)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
