// The JSON Lines protocol over an in-memory batch of 10,000 varied strength checks
// (мтПрочностьB without a report), with one and with two jobs: reading, parsing, the call and
// writing the answers. Figures per request and requests per second.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "cli/batch.hpp"

namespace armocalc::cli {
namespace {

constexpr int kRequests = 10000;

std::string StrengthBatch() {
  std::mt19937 random(7);
  const auto pick = [&](std::initializer_list<double> values) {
    return *(values.begin() + random() % values.size());
  };
  std::string batch;
  char line[512];
  for (int i = 0; i < kRequests; ++i) {
    std::snprintf(line, sizeof line,
                  "{\"method\": \"мтПрочностьB\", \"args\": {\"КлассАрматурнойСтали\": %d, "
                  "\"КлассБетона\": %g, \"N\": %.4f, \"M\": %.4f, \"Fв\": %g, \"Fн\": %g, "
                  "\"ав\": 0.05, \"ан\": %g, \"h\": %g, \"B\": %g}}\n",
                  2 + static_cast<int>(random() % 2), pick({20, 25, 27.5, 30, 35}),
                  -0.5 + static_cast<double>(random() % 35000) / 10000.0,
                  -0.5 + static_cast<double>(random() % 13000) / 10000.0, pick({5, 10, 15.7, 20}),
                  pick({10, 20, 31.4}), pick({0.05, 0.06}), pick({0.5, 0.8, 1.0}),
                  pick({0.5, 1.0}));
    batch += line;
  }
  return batch;
}

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t count = std::min(size, bytes_.size() - offset_);
    std::memcpy(buffer, bytes_.data() + offset_, count);
    offset_ += count;
    return count;
  }
  bool MoreWaiting() override { return offset_ < bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t offset_ = 0;
};

class CountingSink final : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    written += bytes.size();
    return true;
  }
  size_t written = 0;
};

void BM_ProtocolStrengthBatch(benchmark::State& state) {
  const std::string batch = StrengthBatch();
  const BatchSettings settings{static_cast<int>(state.range(0)), {}};
  for (auto _ : state) {
    MemorySource source(batch);
    CountingSink sink;
    const BatchSummary summary = ServeJsonLines(source, sink, CallOptions{}, settings);
    benchmark::DoNotOptimize(summary.answered);
    benchmark::DoNotOptimize(sink.written);
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
  state.counters["us_per_request"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kRequests * 1e-6,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProtocolStrengthBatch)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace armocalc::cli
