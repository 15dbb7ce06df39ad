#include "cli/batch.hpp"

#include <unistd.h>
#ifndef _WIN32
#include <poll.h>
#endif

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "kernel/row_list.hpp"

namespace armocalc::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReadSize = size_t{1} << 18;
constexpr size_t kWriteSize = size_t{1} << 18;  // answers kept before they are written
constexpr size_t kChunkLines = 512;             // requests handed to a worker at a time
constexpr size_t kTypicalLine = 256;            // bytes of a request or an answer, for the room
constexpr int kMaxJobs = 64;
constexpr auto kProgressEvery = std::chrono::seconds(1);

// Cuts the input into request lines: a byte order mark before the first line and a CR before a
// line end are dropped, blank lines skipped.
class LineCutter {
 public:
  // Room for `size` more input bytes, filled by the caller and taken in with Added.
  char* Room(size_t size) {
    pending_.resize(filled_ + size);
    return pending_.data() + filled_;
  }
  void Added(size_t size) { filled_ += size; }

  // The next complete request line; false when none is left in the bytes read so far.
  bool Next(std::string_view& line) {
    for (;;) {
      const std::string_view rest(pending_.data() + consumed_, filled_ - consumed_);
      const size_t end = rest.find('\n');
      if (end == std::string_view::npos) return false;
      consumed_ += end + 1;
      if (Request(rest.substr(0, end), line)) return true;
    }
  }

  // At the end of the input: the last line, given without a line end.
  bool Last(std::string_view& line) {
    const std::string_view rest(pending_.data() + consumed_, filled_ - consumed_);
    consumed_ = filled_;
    return !rest.empty() && Request(rest, line);
  }

  // Drops the lines taken (the views returned before become invalid).
  void Compact() {
    pending_.erase(0, consumed_);
    filled_ -= consumed_;
    consumed_ = 0;
  }

 private:
  bool Request(std::string_view raw, std::string_view& line) {
    if (first_ && raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
    first_ = false;
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    if (raw.find_first_not_of(" \t") == std::string_view::npos) return false;
    line = raw;
    return true;
  }

  std::string pending_;
  size_t filled_ = 0;
  size_t consumed_ = 0;
  bool first_ = true;
};

// Reads once into the cutter; false at the end of the input.
bool ReadMore(ByteSource& in, LineCutter& lines) {
  const size_t read = in.Read(lines.Room(kReadSize), kReadSize);
  lines.Added(read);
  return read > 0;
}

// Counts the answers and reports progress about once a second.
class Tally {
 public:
  explicit Tally(const BatchSettings& settings) : settings_(settings) {}

  void Count(int error_number) {
    ++summary_.answered;
    if (error_number != 0) ++summary_.failed[error_number];
  }

  void MaybeReportProgress() {
    if (!settings_.progress) return;
    const Clock::time_point now = Clock::now();
    if (now - last_progress_ < kProgressEvery) return;
    last_progress_ = now;
    summary_.elapsed = now - start_;
    settings_.progress(summary_);
  }

  BatchSummary Finish() {
    summary_.elapsed = Clock::now() - start_;
    return summary_;
  }

 private:
  const BatchSettings& settings_;
  BatchSummary summary_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_progress_ = start_;
};

// Writes the answers kept; once the output is gone the rest is dropped.
class AnswerWriter {
 public:
  explicit AnswerWriter(ByteSink& sink) : sink_(sink) {}
  std::string& Buffer() { return buffer_; }
  void Flush() {
    if (buffer_.empty()) return;
    if (!gone_ && !sink_.Write(buffer_)) gone_ = true;
    buffer_.clear();
  }
  void FlushIfFull() {
    if (buffer_.size() >= kWriteSize) Flush();
  }

 private:
  ByteSink& sink_;
  std::string buffer_;
  bool gone_ = false;
};

void AnswerLine(std::string_view line, const CallOptions& defaults, AnswerWriter& out,
                Tally& tally) {
  tally.Count(AppendRequestAnswer(out.Buffer(), line, defaults));
  out.Buffer() += '\n';
}

BatchSummary ServeSerially(ByteSource& in, ByteSink& sink, const CallOptions& defaults,
                           const BatchSettings& settings) {
  LineCutter lines;
  AnswerWriter out(sink);
  Tally tally(settings);
  std::string_view line;
  for (;;) {                             // each turn reads at least one byte or ends
    if (!in.MoreWaiting()) out.Flush();  // the client may be waiting for these answers
    if (!ReadMore(in, lines)) break;
    while (lines.Next(line)) {
      AnswerLine(line, defaults, out, tally);
      out.FlushIfFull();
    }
    lines.Compact();
    tally.MaybeReportProgress();
  }
  if (lines.Last(line)) AnswerLine(line, defaults, out, tally);
  out.Flush();
  return tally.Finish();
}

// Requests handed to a worker, and their answers.
struct Chunk {
  std::string text;                              // the request lines, one after another
  std::vector<std::pair<size_t, size_t>> lines;  // offset and length in `text`
  std::string answers;  // the answers computed, one after another, each with its line end
  struct Answer {
    size_t end = 0;  // end of the answer in `answers`
    int error_number = 0;
    bool deferred = false;  // touched a report file: run again in turn
  };
  std::vector<Answer> results;
  bool done = false;

  Chunk() {
    text.reserve(kChunkLines * kTypicalLine);
    lines.reserve(kChunkLines);
    answers.reserve(kChunkLines * kTypicalLine);
    results.reserve(kChunkLines);
  }

  // Empty again for the next requests; the room stays.
  void Clear() {
    text.clear();
    lines.clear();
    answers.clear();
    results.clear();
    done = false;
  }

  void Add(std::string_view line) {
    lines.emplace_back(text.size(), line.size());
    text += line;
  }
  std::string_view Line(size_t i) const {
    return std::string_view(text).substr(lines[i].first, lines[i].second);
  }
};

// The chunks in input order: the reader appends, the workers compute, the writer takes them
// from the front once done.
class ChunkQueue {
 public:
  explicit ChunkQueue(size_t max_in_flight) : max_in_flight_(max_in_flight) {}

  void Submit(std::unique_ptr<Chunk> chunk) {
    std::unique_lock lock(mutex_);
    space_.wait(lock, [&] { return chunks_.size() < max_in_flight_; });
    chunks_.push_back(std::move(chunk));
    work_.notify_one();
  }

  void EndOfInput() {
    const std::lock_guard lock(mutex_);
    input_ended_ = true;
    work_.notify_all();
    done_.notify_all();
  }

  // The next chunk to compute; null once the input has ended and every chunk is taken.
  Chunk* Claim() {
    std::unique_lock lock(mutex_);
    work_.wait(lock, [&] { return claimed_ < chunks_.size() || input_ended_; });
    if (claimed_ >= chunks_.size()) return nullptr;
    return chunks_[claimed_++].get();
  }

  void Done(Chunk& chunk) {
    const std::lock_guard lock(mutex_);
    chunk.done = true;
    done_.notify_all();
  }

  // The oldest chunk once it is computed; null at the end of the batch.
  std::unique_ptr<Chunk> TakeFront() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] {
      return (!chunks_.empty() && chunks_.front()->done) || (input_ended_ && chunks_.empty());
    });
    if (chunks_.empty()) return nullptr;
    std::unique_ptr<Chunk> front = std::move(chunks_.front());
    chunks_.pop_front();
    --claimed_;
    // The reader is woken once half the chunks are written, to fill several in one turn.
    if (chunks_.size() <= max_in_flight_ / 2) space_.notify_one();
    return front;
  }

  bool FrontReady() {
    const std::lock_guard lock(mutex_);
    return !chunks_.empty() && chunks_.front()->done;
  }

  // A chunk written out comes back for the reader to fill again: the batch keeps the same few
  // buffers instead of allocating (and faulting in) fresh ones chunk after chunk.
  void Recycle(std::unique_ptr<Chunk> chunk) {
    chunk->Clear();
    const std::lock_guard lock(mutex_);
    spare_.push_back(std::move(chunk));
  }

  std::unique_ptr<Chunk> Fresh() {
    {
      const std::lock_guard lock(mutex_);
      if (!spare_.empty()) {
        std::unique_ptr<Chunk> chunk = std::move(spare_.back());
        spare_.pop_back();
        return chunk;
      }
    }
    return std::make_unique<Chunk>();
  }

 private:
  std::mutex mutex_;
  std::condition_variable work_, done_, space_;
  std::deque<std::unique_ptr<Chunk>> chunks_;
  std::vector<std::unique_ptr<Chunk>> spare_;
  size_t claimed_ = 0;  // chunks_[0, claimed_) are taken by workers
  size_t max_in_flight_;
  bool input_ended_ = false;
};

void ReadChunks(ByteSource& in, ChunkQueue& queue) {
  LineCutter lines;
  std::unique_ptr<Chunk> chunk = queue.Fresh();
  const auto submit = [&] {
    if (chunk->lines.empty()) return;
    queue.Submit(std::move(chunk));
    chunk = queue.Fresh();
  };
  std::string_view line;
  while (ReadMore(in, lines)) {  // each turn reads at least one byte
    while (lines.Next(line)) {
      chunk->Add(line);
      if (chunk->lines.size() >= kChunkLines) submit();
    }
    lines.Compact();
    if (!in.MoreWaiting()) submit();  // the client may wait for these answers
  }
  if (lines.Last(line)) chunk->Add(line);
  submit();
  queue.EndOfInput();
}

// A worker leaves the report files alone: a request that reaches for one is run again by the
// writer in its turn, so every file is written, read back and replaced in input order with
// the error numbers a serial run gives.
void ComputeChunks(ChunkQueue& queue, const CallOptions& defaults) {
  const FileAccessDeferral deferral;
  while (Chunk* chunk = queue.Claim()) {
    for (size_t i = 0; i < chunk->lines.size(); ++i) {
      const size_t start = chunk->answers.size();
      FileAccessDeferral::Reset();
      const int error_number = AppendRequestAnswer(chunk->answers, chunk->Line(i), defaults);
      const bool deferred = FileAccessDeferral::Touched();
      if (deferred) {
        chunk->answers.resize(start);
      } else {
        chunk->answers += '\n';
      }
      chunk->results.push_back({chunk->answers.size(), error_number, deferred});
    }
    queue.Done(*chunk);
  }
}

void WriteChunk(const Chunk& chunk, const CallOptions& defaults, AnswerWriter& out, Tally& tally) {
  if (std::ranges::none_of(chunk.results, &Chunk::Answer::deferred)) {
    // The usual chunk: its answers as they stand, in one piece.
    out.Buffer() += chunk.answers;
    for (const Chunk::Answer& answer : chunk.results) tally.Count(answer.error_number);
    out.FlushIfFull();
    return;
  }
  size_t start = 0;
  for (size_t i = 0; i < chunk.results.size(); ++i) {
    const Chunk::Answer& answer = chunk.results[i];
    if (answer.deferred) {
      AnswerLine(chunk.Line(i), defaults, out, tally);
    } else {
      out.Buffer().append(chunk.answers, start, answer.end - start);
      tally.Count(answer.error_number);
    }
    start = answer.end;
    out.FlushIfFull();
  }
}

BatchSummary ServeInParallel(ByteSource& in, ByteSink& sink, const CallOptions& defaults,
                             const BatchSettings& settings) {
  const int jobs = std::clamp(settings.jobs, 1, kMaxJobs);
  ChunkQueue queue(static_cast<size_t>(jobs) * 4);
  AnswerWriter out(sink);
  Tally tally(settings);
  std::thread reader([&] { ReadChunks(in, queue); });
  std::vector<std::thread> workers;
  for (int i = 0; i < jobs; ++i) workers.emplace_back([&] { ComputeChunks(queue, defaults); });
  while (std::unique_ptr<Chunk> chunk = queue.TakeFront()) {
    WriteChunk(*chunk, defaults, out, tally);
    queue.Recycle(std::move(chunk));
    if (!queue.FrontReady()) out.Flush();  // nothing more is ready: the client may be waiting
    tally.MaybeReportProgress();
  }
  out.Flush();
  reader.join();
  for (std::thread& worker : workers) worker.join();
  return tally.Finish();
}

}  // namespace

size_t DescriptorSource::Read(char* buffer, size_t size) {
  for (;;) {  // repeats only when a signal interrupted the read
    const auto read = ::read(fd_, buffer, static_cast<unsigned>(std::min<size_t>(size, 1u << 30)));
    if (read >= 0) return static_cast<size_t>(read);
    if (errno != EINTR) return 0;  // an unreadable input ends like an empty one
  }
}

bool DescriptorSource::MoreWaiting() {
#ifdef _WIN32
  return false;  // no poll on a console or pipe handle: every answer is written at once
#else
  pollfd entry{fd_, POLLIN, 0};
  return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLIN | POLLHUP)) != 0;
#endif
}

bool DescriptorSink::Write(std::string_view bytes) {
  while (!bytes.empty()) {  // each turn writes at least one byte or fails
    const auto written =
        ::write(fd_, bytes.data(), static_cast<unsigned>(std::min<size_t>(bytes.size(), 1u << 30)));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

size_t StreamSource::Read(char* buffer, size_t size) {
  if (size == 0) return 0;
  const std::streamsize ready = in_.readsome(buffer, static_cast<std::streamsize>(size));
  if (ready > 0) return static_cast<size_t>(ready);
  const int first = in_.get();  // waits for the next byte
  if (first == std::char_traits<char>::eof()) return 0;
  buffer[0] = static_cast<char>(first);
  const std::streamsize more = in_.readsome(buffer + 1, static_cast<std::streamsize>(size - 1));
  return 1 + static_cast<size_t>(std::max<std::streamsize>(more, 0));
}

bool StreamSource::MoreWaiting() {
  return in_.good() && in_.rdbuf()->in_avail() > 0;
}

bool StreamSink::Write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  return static_cast<bool>(out_);
}

int64_t BatchSummary::Failed() const {
  int64_t failed_count = 0;
  for (const auto& [number, count] : failed) failed_count += count;
  return failed_count;
}

std::string SummaryText(const BatchSummary& summary) {
  std::string text = "armocalc call: " + std::to_string(summary.answered) + " answered, " +
                     std::to_string(summary.answered - summary.Failed()) + " succeeded, " +
                     std::to_string(summary.Failed()) + " failed";
  if (!summary.failed.empty()) {
    text += " (";
    bool first = true;
    for (const auto& [number, count] : summary.failed) {
      if (!first) text += ", ";
      first = false;
      text += "error " + std::to_string(number) + ": " + std::to_string(count);
    }
    text += ")";
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, ", %.3f s",
                std::chrono::duration<double>(summary.elapsed).count());
  return text + seconds;
}

int JobsFor(int requested) {
  if (requested > 0) return std::min(requested, kMaxJobs);
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(cores), 1, kMaxJobs);
}

BatchSummary ServeJsonLines(ByteSource& in, ByteSink& out, const CallOptions& defaults,
                            const BatchSettings& settings) {
  if (settings.jobs <= 1) return ServeSerially(in, out, defaults, settings);
  return ServeInParallel(in, out, defaults, settings);
}

void ServeJsonLines(std::istream& in, std::ostream& out, const CallOptions& defaults) {
  StreamSource source(in);
  StreamSink sink(out);
  ServeJsonLines(source, sink, defaults, BatchSettings{});
}

}  // namespace armocalc::cli
