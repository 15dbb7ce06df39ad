#pragma once
// The row list: an ordered list of text lines (UTF-8 in memory) that every report is collected
// in, rounded and written to its file. A new or cleared list holds one empty line at index 0.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/cp1251.hpp"

namespace armocalc {

enum class ReportEncoding : uint8_t { Cp1251, Utf8 };

// Encoding of report files written and read on this thread (CP1251 unless a caller such as the
// CLI asks for UTF-8 for the span of its guard).
ReportEncoding CurrentReportEncoding();
class ScopedReportEncoding {
 public:
  explicit ScopedReportEncoding(ReportEncoding encoding);
  ~ScopedReportEncoding();
  ScopedReportEncoding(const ScopedReportEncoding&) = delete;
  ScopedReportEncoding& operator=(const ScopedReportEncoding&) = delete;

 private:
  ReportEncoding previous_;
};

// While requests are served, the standard output carries the answers: a report that would be
// written to the same file fails with error 75 instead.
void ReserveStandardOutput(bool reserved);

class StandardOutputReservation {
 public:
  StandardOutputReservation() { ReserveStandardOutput(true); }
  ~StandardOutputReservation() { ReserveStandardOutput(false); }
  StandardOutputReservation(const StandardOutputReservation&) = delete;
  StandardOutputReservation& operator=(const StandardOutputReservation&) = delete;
};

// A thread computing answers ahead of their turn must leave the files alone: while a deferral
// is active on the thread, the first read, write or existence check of a report file stops the
// call with error 75 and marks it, and the caller runs that call again in its turn.
class FileAccessDeferral {
 public:
  FileAccessDeferral();
  ~FileAccessDeferral();
  FileAccessDeferral(const FileAccessDeferral&) = delete;
  FileAccessDeferral& operator=(const FileAccessDeferral&) = delete;

  // Whether a call on this thread since the last Reset wanted a file.
  static bool Touched();
  static void Reset();
};

// While one lives, the paths of the files `vbСписок::Выгрузить` writes on this thread, each once,
// in the order first written: the command line tells the user where the reports went.
class WrittenFiles {
 public:
  WrittenFiles();
  ~WrittenFiles();
  WrittenFiles(const WrittenFiles&) = delete;
  WrittenFiles& operator=(const WrittenFiles&) = delete;

  const std::vector<std::string>& Paths() const noexcept { return paths_; }
  // Records a written file with the innermost live record, if any.
  static void Note(const std::string& path);

 private:
  std::vector<std::string> paths_;
  WrittenFiles* outer_;
};

class vbСписок {
 public:
  vbСписок();

  // Replaces the content with the file's lines (split at CR LF); a missing file changes nothing.
  void Загрузить(const std::string& ИмяФайла);
  // Writes all lines joined and ended by CR LF when the name is longer than 4 characters. The file
  // is replaced only once all of it is written: a failure leaves the old file as it was.
  void Выгрузить(const std::string& ИмяФайла) const;
  // Выгрузить with the lines rounded on their way into the file as ОкруглитьЧисловыеЗначения
  // would round them; the list keeps its own text.
  void WriteRounded(const std::string& ИмяФайла, uint8_t ЧислоЗнаков, uint8_t СпособОкругления,
                    std::string_view Разделитель) const;
  void ВставитьСтроку(std::string Текст, int32_t Позиция = -1);
  void УдалитьСтроку(int32_t Индекс);
  void Очистить();
  void ОкруглитьЧисловыеЗначения(uint8_t ЧислоЗнаков, uint8_t СпособОкругления,
                                 std::string_view Разделитель);
  std::string ПолучитьСтроку(int32_t Индекс) const;
  int32_t КоличествоСтрок() const;
  int32_t Найти(std::string_view Текст, int32_t Начало, int32_t Конец) const;
  void Сортировать();

  static void СортироватьМассив(std::vector<std::string>& Строки);
  static bool ФайлСуществует(const std::string& ИмяФайла, bool ЭтоПапка);
  static double Округлить(double Значение, uint8_t ЧислоЗнаков, uint8_t СпособОкругления);
  static double ШагОкругления(double Значение, uint8_t ЧислоЗнаков);

  const std::vector<std::string>& Строки() const { return Строки_; }

 private:
  void Инициализировать();
  std::vector<std::string> Строки_;
};

}  // namespace armocalc
