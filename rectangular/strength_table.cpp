// The rectangular strength check with the bars read from a worksheet bar table.

#include <optional>
#include <string>

#include "interface/host.hpp"
#include "kernel/report.hpp"
#include "materials/bar_table.hpp"
#include "materials/steel.hpp"
#include "rectangular/strength.hpp"
#include "rectangular/strength_core.hpp"

namespace armocalc {
namespace {

using rectangular::АргументыПрочности;
using rectangular::ИсточникАрматуры;
using rectangular::КосвенноеНайдено;
using rectangular::Расчёт;
using rectangular::Строка;
using rectangular::Число;

constexpr double kНаименьшийШагСеток = 0.07;  // m

class АрматураПоТаблице final : public ИсточникАрматуры {
 public:
  explicit АрматураПоТаблице(const HostRange& таблица) : таблица_(таблица) {}

  bool КосвенноеЗадано(double s) const override { return s > 0; }
  bool ДлинаЗадана(double L) const override { return L > 0; }

  void ИсходныеДанные(Расчёт&) override {}

  void Слои(Расчёт& р) override {
    int32_t тип_значения = ТипЗначенияRs(р.арг.КонструкцияЖД);
    double y0 = 0;
    const ГруппыСтержней группы =
        ПрочитатьТаблицуСтержней(таблица_, Variant(р.арг.КлассАрматурнойСтали), тип_значения,
                                 р.арг.M, р.арг.N, y0, р.h.v, (р.h / 2).v);
    р.ai = группы(Сжатая, РасстояниеДоГрани);
    р.a = группы(Растянутая, РасстояниеДоГрани);
    р.Fsi = группы(Сжатая, Площадь);
    р.Fs = группы(Растянутая, Площадь);
    р.Jsi = группы(Сжатая, МоментИнерции);
    р.Js = группы(Растянутая, МоментИнерции);
    Rsc_ = группы(Сжатая, СреднееRs);
    Rs_ = группы(Растянутая, СреднееRs);
    Строка(р.rep, "\tМоменты инерции растянутой и сжатой арматуры: Js = ", р.Js, ", Jsi = ", р.Jsi,
           " м4");
    Строка(р.rep, "\tПлощадь сжатой арматуры (Fsi): ", р.Fsi, "кв.м, растянутой (Fs): ", р.Fs,
           " кв.м");
    Строка(р.rep, "\tРасстояние от ц.т. сжатой арматуры до края сечения (ai): ", р.ai,
           "м, растянутой (a): ", р.a, " м");
    р.ho = р.h - р.a;
    Строка(р.rep, "\tho = h - a = ", р.h, " - ", р.a, " = ", р.ho, " м - рабочая высота сечения");
    р.Fb = р.b * р.h;
    Строка(р.rep, "\tFb = b * h = ", р.b, " * ", р.h, " = ", р.Fb, " кв.м - площадь бетона");
    р.Jb = р.b * rectangular::Степень(р.h, 3) / 12;
    Строка(р.rep, "\tJb = b * h ^ 3 / 12 = ", р.b, " * ", р.h, " ^ 3 / 12 = ", р.Jb, " м4");
  }

  // The mean design resistances of the tension and the compressed bars of the table.
  void Сталь(Расчёт& р) override {
    р.Rs = Rs_;
    р.Rsc = Rsc_;
  }

  std::optional<КосвенноеНайдено> Косвенное(Расчёт& р) override {
    АргументыПрочности& арг = р.арг;
    КосвеннаяАрматура арматура = КосвеннаяАрматура::Спираль(арг.dx, арг.s);
    if (арг.dx > 0 && арг.dy > 0 && арг.nx > 0 && арг.ny > 0) {
      if (арг.s < kНаименьшийШагСеток) арг.s = kНаименьшийШагСеток;
      арматура =
          КосвеннаяАрматура::Сетки(арг.dx, арг.s, арг.dy, арг.nx, арг.ny, р.b.v, (р.h - 0.1).v);
    } else if (!(арг.dx > 0)) {
      return std::nullopt;
    }
    const ИтогКосвенногоАрмирования итог =
        КосвенноеАрмированиеПоТаблице(р.Rb.v, р.Rs.v, р.ec.v, таблица_, арматура);
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
  std::optional<Отчёт> свой;
  if (отчёт == nullptr) отчёт = &свой.emplace(Отчет);
  // The condition flags are this call's own copies: clearing one is not seen by the caller.
  АргументыПрочности арг{КлассАрматурнойСтали,
                         КлассБетона,
                         N,
                         M,
                         h,
                         B,
                         БетонирВВертикПолож,
                         СевернКоэфф,
                         ВодонасыщениеБетона,
                         ЗаморажОттаивание,
                         Солнце,
                         КонструкцияЖД,
                         Nl,
                         Ml,
                         L,
                         Z,
                         ЗакрепленияНаКонцахЭлемента,
                         s,
                         dx,
                         dy,
                         nx,
                         ny,
                         МетодОпределенияЗапаса};
  Расчёт р(арг, *отчёт, true);
  АрматураПоТаблице арматура(ТаблицаАрматурныхСтержней);
  return Variant(rectangular::ПроверитьПрочность(р, арматура));
}

}  // namespace armocalc
