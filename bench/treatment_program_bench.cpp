// How long the player's per-treatment and per-tick text work takes: reading a
// full 100-frequency list, and building the status line ten times a second.
#include "treatment/frequency_program.h"
#include "treatment/player_core.h"

#include <benchmark/benchmark.h>

#include <QStringList>

using namespace helicordia;

static void ParseHundredFrequencies(benchmark::State &state)
{
    QStringList pieces;
    for (int i = 0; i < 100; ++i)
        pieces << QString::number(100.0 + i * 7.31, 'f', 2);
    const QString list = pieces.join(QLatin1Char(','));
    FrequencyTable table{};
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseFrequencyList(list, table));
}
BENCHMARK(ParseHundredFrequencies);

static void StatusLine(benchmark::State &state)
{
    const QLocale locale(QLocale::German);
    float frequency = 52800.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(StatusLineText(1, frequency, 0.1006f, -0.25f, locale));
        frequency += 1.0f;
    }
}
BENCHMARK(StatusLine);

static void TimeText(benchmark::State &state)
{
    int seconds = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(AfiseazaTimp(seconds++ % 36001));
}
BENCHMARK(TimeText);

BENCHMARK_MAIN();
