// The rectangular strength check with the bars read from a worksheet bar table.

#include <optional>
#include <string>

#include "kernel/report.hpp"
#include "materials/bar_table.hpp"
#include "materials/steel.hpp"
#include "rectangular/strength.hpp"
#include "rectangular/strength_core.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

using rectangular::АргументыПрочности;
using rectangular::ИсточникАрматуры;
using rectangular::КосвенноеНайдено;
using rectangular::Расчёт;

constexpr double kНаименьшийШагСеток = 0.07;  // m

class АрматураПоТаблице final : public ИсточникАрматуры {
 public:
  explicit АрматураПоТаблице(const HostRange& таблица) : таблица_(таблица) {}

  bool ТаблицаСтержней() const override { return true; }
  bool КосвенноеЗадано(double s) const override { return s > 0; }
  bool ДлинаЗадана(double L) const override { return L > 0; }

  void ИсходныеДанные(Расчёт&) override {}

  void Слои(Расчёт& расч) override {
    int32_t тип_значения = ТипЗначенияRs(расч.арг.КонструкцияЖД);
    double y0 = 0;
    const ГруппыСтержней группы =
        ПрочитатьТаблицуСтержней(таблица_, Variant(расч.арг.КлассАрматурнойСтали), тип_значения,
                                 расч.арг.M, расч.арг.N, y0, расч.h.v, (расч.h / 2).v);
    расч.ai = группы(Сжатая, РасстояниеДоГрани);
    расч.a = группы(Растянутая, РасстояниеДоГрани);
    расч.Fsi = группы(Сжатая, Площадь);
    расч.Fs = группы(Растянутая, Площадь);
    расч.Jsi = группы(Сжатая, МоментИнерции);
    расч.Js = группы(Растянутая, МоментИнерции);
    Rsc_ = группы(Сжатая, СреднееRs);
    Rs_ = группы(Растянутая, СреднееRs);
    расч.rep.Add("\tМоменты инерции растянутой и сжатой арматуры: Js = ", расч.Js,
                 ", Jsi = ", расч.Jsi, " м4");
    расч.rep.Add("\tПлощадь сжатой арматуры (Fsi): ", расч.Fsi, "кв.м, растянутой (Fs): ", расч.Fs,
                 " кв.м");
    расч.rep.Add("\tРасстояние от ц.т. сжатой арматуры до края сечения (ai): ", расч.ai,
                 "м, растянутой (a): ", расч.a, " м");
    расч.ho = расч.h - расч.a;
    расч.rep.Add("\tho = h - a = ", расч.h, " - ", расч.a, " = ", расч.ho,
                 " м - рабочая высота сечения");
    расч.Fb = расч.b * расч.h;
    расч.rep.Add("\tFb = b * h = ", расч.b, " * ", расч.h, " = ", расч.Fb,
                 " кв.м - площадь бетона");
    расч.Jb = расч.b * Степень(расч.h, 3) / 12;
    расч.rep.Add("\tJb = b * h ^ 3 / 12 = ", расч.b, " * ", расч.h, " ^ 3 / 12 = ", расч.Jb, " м4");
  }

  // The mean design resistances of the tension and the compressed bars of the table.
  void Сталь(Расчёт& расч) override {
    расч.Rs = Rs_;
    расч.Rsc = Rsc_;
  }

  std::optional<КосвенноеНайдено> Косвенное(Расчёт& расч) override {
    АргументыПрочности& арг = расч.арг;
    КосвеннаяАрматура арматура = КосвеннаяАрматура::Спираль(арг.dx, арг.s);
    if (арг.dx > 0 && арг.dy > 0 && арг.nx > 0 && арг.ny > 0) {
      if (арг.s < kНаименьшийШагСеток) арг.s = kНаименьшийШагСеток;
      арматура = КосвеннаяАрматура::Сетки(арг.dx, арг.s, арг.dy, арг.nx, арг.ny, расч.b.v,
                                          (расч.h - 0.1).v);
    } else if (!(арг.dx > 0)) {
      return std::nullopt;
    }
    const ИтогКосвенногоАрмирования итог =
        КосвенноеАрмированиеПоТаблице(расч.Rb.v, расч.Rs.v, расч.ec.v, таблица_, арматура);
    return КосвенноеНайдено{арматура.вид, итог};
  }

 private:
  const HostRange& таблица_;
  Число Rs_, Rsc_;
};

}  // namespace

Variant мтПрочностьТ(uint8_t& КлассАрматурнойСтали, float& КлассБетона, double& N, double& M,
                     double& B, double& h, const HostRange& ТаблицаАрматурныхСтержней,
                     bool БетонирВВертикПолож, bool СевернКоэфф, bool ВодонасыщениеБетона,
                     bool ЗаморажОттаивание, bool Солнце, bool КонструкцияЖД, double& Nl,
                     double& Ml, double& L, double Z, int32_t ЗакрепленияНаКонцахЭлемента,
                     double& s, double& dx, double& dy, double& nx, double& ny,
                     uint8_t& МетодОпределенияЗапаса, std::string& Отчет, Отчёт* отчёт) {
  // The condition flags are this call's own copies: clearing one is not seen by the caller.
  АрматураПоТаблице арматура(ТаблицаАрматурныхСтержней);
  return rectangular::ПроверитьСечение(
      арматура, КлассАрматурнойСтали, КлассБетона, N, M, h, B, БетонирВВертикПолож, СевернКоэфф,
      ВодонасыщениеБетона, ЗаморажОттаивание, Солнце, КонструкцияЖД, Nl, Ml, L, Z,
      ЗакрепленияНаКонцахЭлемента, s, dx, dy, nx, ny, МетодОпределенияЗапаса, Отчет, отчёт);
}

}  // namespace armocalc
