#pragma once
// Serving a batch of JSON Lines requests: input read and answers written in large blocks, the
// answers in input order, computed by one or more worker threads.

#include <chrono>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <string_view>

#include "cli/cli.hpp"

namespace armocalc::cli {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `size` bytes, waiting for at least one; 0 at the end of the input.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Whether more input can be read at once, without waiting for the client.
  virtual bool MoreWaiting() = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all bytes and passes them on (flushes); false when the output is gone.
  virtual bool Write(std::string_view bytes) = 0;
};

// A file descriptor (the standard input and output of `armocalc call`).
class DescriptorSource final : public ByteSource {
 public:
  explicit DescriptorSource(int fd) : fd_(fd) {}
  size_t Read(char* buffer, size_t size) override;
  bool MoreWaiting() override;

 private:
  int fd_;
};

class DescriptorSink final : public ByteSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) {}
  bool Write(std::string_view bytes) override;

 private:
  int fd_;
};

class StreamSource final : public ByteSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  size_t Read(char* buffer, size_t size) override;
  bool MoreWaiting() override;

 private:
  std::istream& in_;
};

class StreamSink final : public ByteSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  bool Write(std::string_view bytes) override;

 private:
  std::ostream& out_;
};

struct BatchSummary {
  int64_t answered = 0;
  std::map<int, int64_t> failed;  // error number -> answers with that error
  std::chrono::steady_clock::duration elapsed{};
  int64_t Failed() const;
};

// "armocalc call: 3 answered, 2 succeeded, 1 failed (error 13: 1), 0.002 s"
std::string SummaryText(const BatchSummary& summary);

struct BatchSettings {
  int jobs = 1;  // worker threads computing answers
  // Called with the counts so far, at most about once a second during a long batch.
  std::function<void(const BatchSummary&)> progress;
};

// The number of jobs `--jobs N` asks for: N, or the number of cores for 0.
int JobsFor(int requested);

// Answers every non-blank line of `in` (a byte order mark before the first and CR before line
// ends are dropped) in input order. Whenever no further input is waiting, the answers so far
// are written at once, so a client that writes one line and waits for its answer never stalls.
// With several jobs, a request that touches a report file is run again in its turn, so that the
// files end as a serial run leaves them.
BatchSummary ServeJsonLines(ByteSource& in, ByteSink& out, const CallOptions& defaults,
                            const BatchSettings& settings);

}  // namespace armocalc::cli
