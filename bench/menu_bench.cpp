// The editor's context-menu commands on 100,000 lines of drawing text, end
// to end through the widgets: the dialog run, the snapshot, the commands'
// work, the editor's one update and a repaint. Offscreen.

#include "textedit/gui/editormenu.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"

#include "state/mainstate.h"
#include "ui/fonts.h"
#include "ui/statuspanels.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLines = 100000;

QStringList drawingText()
{
    static const QString words[] = {QStringLiteral("配電盤"), QStringLiteral("ﾎﾟﾝﾌﾟ"), QStringLiteral("Motor"),
                                    QStringLiteral("給水(1)"), QStringLiteral("ELB 30A")};
    QStringList lines;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i)
        lines << QStringLiteral("SW-%1 %2").arg(i % 1000, 3, 10, QLatin1Char('0')).arg(words[i % 5]);
    return lines;
}

struct Editor {
    MainState state;
    QWidget main;
    TextEditTab *tab;
    QMenu *popup;
    TTalvoTikanForm *tikan;
    TTalvoKasanForm *kasan;
    TTalvoRenbanForm *renban;
    EditorMenu *menu;
    QStringList text = drawingText();

    Editor()
    {
        auto *bar = new QStatusBar(&main);
        addStatusPanels(bar);
        tab = new TextEditTab(state, bar, &main);
        popup = new QMenu(&main);
        QAction *about = popup->addAction(QStringLiteral("バージョン情報"));
        tikan = new TTalvoTikanForm(&main);
        kasan = new TTalvoKasanForm(&main);
        renban = new TTalvoRenbanForm(&main);
        menu = new EditorMenu(*tab, state, popup, about, {tikan, kasan, renban}, &main);
        main.resize(320, 600);
        tab->resize(316, 560);
        main.show();
        QApplication::processEvents();
    }
    void reset()
    {
        tab->editor->setLines(text);
        QApplication::processEvents();
    }
    void finish() { tab->editor->viewport()->repaint(); }
};

// Made on first use, destroyed before the application object.
std::unique_ptr<Editor> g_editor;

Editor &editor()
{
    if (!g_editor)
        g_editor = std::make_unique<Editor>();
    return *g_editor;
}

// Runs one command; `answer` acts inside its dialog.
void run(benchmark::State &state, QAction *command, const std::function<void()> &answer)
{
    Editor &e = editor();
    for (auto _ : state) {
        state.PauseTiming();
        e.reset();
        state.ResumeTiming();
        if (answer)
            QTimer::singleShot(0, answer);
        command->trigger();
        e.finish();
    }
    state.counters["lines"] = double(e.tab->editor->lineCount());
}

void BM_WidthConversionAll(benchmark::State &state)
{
    run(state, editor().menu->N1, nullptr);
}

void BM_ReplaceAll(benchmark::State &state)
{
    Editor &e = editor();
    run(state, e.menu->N7, [&e] {
        e.tikan->Edit1->setText(QStringLiteral("sw"));
        e.tikan->Edit2->setText(QStringLiteral("SV"));
        e.tikan->CheckBox1->setChecked(true);
        e.tikan->Button1->click();
    });
}

void BM_AdditionAll(benchmark::State &state)
{
    Editor &e = editor();
    run(state, e.menu->N14, [&e] {
        e.kasan->SpeedButton1->click();
        e.kasan->Edit1->setText(QStringLiteral("1"));
        e.kasan->Button1->click();
    });
}

void BM_SerialInsert10000(benchmark::State &state)
{
    Editor &e = editor();
    run(state, e.menu->N17, [&e] {
        e.renban->SpeedButton1->click();
        e.renban->Edit1->setText(QStringLiteral("P-"));
        e.renban->Edit2->setText(QStringLiteral("0001"));
        e.renban->Edit4->setText(QStringLiteral("10000"));
        e.renban->Button3->click();
    });
}

BENCHMARK(BM_WidthConversionAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AdditionAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SerialInsert10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_editor.reset();
    return 0;
}
