#include <benchmark/benchmark.h>

#include "keytap/KeyTable.h"

namespace keytap {
namespace {

// The player's eight commands on F5-F12, as a transcriber might set them.
void fillTypicalTable(KeyTable& table) {
    table.releaseAll();
    for (int32_t slot = 0; slot < 8; ++slot) table.store({slot, 116 + slot, slot % 2 == 0 ? 0 : 2, slot % 2});
}

// Most key events of the desktop are typing that matches nothing.
void unmatchedKey(benchmark::State& state) {
    KeyTable table;
    fillTypicalTable(table);
    int32_t key = 'A';
    for (auto _ : state) {
        benchmark::DoNotOptimize(matchKey(table, key, true, false, false, false));
        key = key == 'Z' ? 'A' : key + 1;
    }
}
BENCHMARK(unmatchedKey);

void matchedKeyInTheLastUsedSlot(benchmark::State& state) {
    KeyTable table;
    fillTypicalTable(table);
    for (auto _ : state) benchmark::DoNotOptimize(matchKey(table, 123, true, false, true, false));
}
BENCHMARK(matchedKeyInTheLastUsedSlot);

// Every slot holds the key with other modifiers: sixteen candidates measured.
void sixteenCandidatesNoneMatching(benchmark::State& state) {
    KeyTable table;
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) table.store({slot, 112, 1, 0});
    for (auto _ : state) benchmark::DoNotOptimize(matchKey(table, 112, true, false, false, false));
}
BENCHMARK(sixteenCandidatesNoneMatching);

void keyUp(benchmark::State& state) {
    KeyTable table;
    fillTypicalTable(table);
    for (auto _ : state) benchmark::DoNotOptimize(matchKey(table, 116, false, false, false, false));
}
BENCHMARK(keyUp);

}  // namespace
}  // namespace keytap

BENCHMARK_MAIN();
