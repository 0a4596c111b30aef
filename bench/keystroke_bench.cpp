// One keystroke in the data size field, through the real window: the key
// event, the change, the calculation and the six writes with their events.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include "main_window/qt/form1.h"

namespace {

void BM_KeystrokeInDataSize(benchmark::State& state) {
    velmora::Form1 window;
    window.show();
    auto* dataSize = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    dataSize->setFocus();
    dataSize->end(false);
    // Typing and deleting a digit in turn keeps the text, and the work, steady.
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(dataSize, type ? Qt::Key_7 : Qt::Key_Backspace);
        type = !type;
    }
    state.counters["calculations"] = window.calculationRuns(velmora::core::CalcMode::Time);
}
BENCHMARK(BM_KeystrokeInDataSize);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
