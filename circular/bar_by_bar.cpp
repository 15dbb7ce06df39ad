// Bar-by-bar circle: trial extents of the tensioned part are moved past one bar after another
// while the tensioned bars yield; within each trial the stress in the tensioned bars and the
// compressed bars are repeated until they agree.

#include "circular/bar_by_bar.hpp"

#include <limits>

#include "circular/circle_common.hpp"
#include "kernel/margin.hpp"
#include "kernel/stability.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/errors.hpp"
#include "runtime/pi.hpp"

namespace armocalc::circular {
namespace {

constexpr double kДваПи14 = 6.28318530717958;
constexpr double kТриПи14 = 9.42477796076937;
constexpr uint8_t kКодEb = 8;

// The concrete class itself enters the trial stress of the tensioned bars.
Число КлассБетона(const КругСоСтержнями& к) {
  return static_cast<double>(к.класс_бетона);
}

Число ПлощадьСтержней(double ds, Число k) {
  return Квадрат(Число(ds) / 1000) * (k * kПиДесятичное) / 4;
}

// The bars' distances from the tensioned edge (t) and from the compressed edge (c), computed once:
// the sweeps of every trial only compare and add them, in the order of the bars.
struct Стержни {
  std::vector<double> y, t, c;
};

Стержни РасставитьСтержни(const КругСоСтержнями& к) {
  Стержни стержни;
  стержни.y = ПозицииСтержней(к.n, (Число(к.Dk) / 2).v);
  const Число половина = Число(к.D) / 2;
  стержни.t.reserve(стержни.y.size());
  стержни.c.reserve(стержни.y.size());
  for (const double y_i : стержни.y) {
    стержни.t.push_back((половина + y_i).v);
    стержни.c.push_back((половина - y_i).v);
  }
  return стержни;
}

// The bars of the tensioned part for a trial extent x, in one sweep over the bars.
struct ПробныйПроход {
  Число tm;  // mean distance of the tensioned bars from the tensioned edge
  Число tf;  // the farthest tensioned bar
  Число tn;  // the nearest bar beyond x
  Число k;   // number of tensioned bars
  Число As, z_t, h0, Ac;
};

ПробныйПроход РастянутыеСтержни(const Стержни& стержни, double x, const КругСоСтержнями& к) {
  double сумма = 0;
  int32_t число = 0;
  double tf = 0;
  double tn = к.D;
  for (const double t : стержни.t) {
    if (t < x) {
      сумма += t;
      ++число;
      if (t > tf) tf = t;
    }
    if (t > x && t < tn) tn = t;
  }
  const Число D = к.D;
  ПробныйПроход п;
  // The sweep adds in plain double for speed: a sum beyond the double range stays infinite and
  // fails at this division (6).
  п.tm = Число(сумма) / число;
  п.tf = tf;
  п.tn = tn;
  п.k = число;
  п.As = ПлощадьСтержней(к.ds, п.k);
  п.z_t = Число(к.ds) / 1000 + п.tf;
  п.h0 = D - п.tm;
  п.Ac = Квадрат(D) * (Число(kПиДесятичное) - ФункцияСегмента2((п.tm / (D / 2)).v)) / 4;
  return п;
}

// The compressed bars, kept from one trial to the next.
struct СжатаяАрматура {
  Число As_;  // As'
  Число cm;
  Число k_;  // k'
  // The last sweep over the bars: repetitions that end at the same zone height reuse it.
  double z_обхода = std::numeric_limits<double>::quiet_NaN();
  double сумма = 0;
  int32_t число = 0;
};

// Number of bars within the zone height z from the compressed edge.
int32_t ЧислоСжатых(const Стержни& стержни, Число z) {
  int32_t число = 0;
  for (const double c : стержни.c) {
    if (c < z.v) ++число;
  }
  return число;
}

// The compressed bars within a zone height z (limited to 0.6 of the depth above the farthest
// tensioned bar); true when their count has changed.
bool СжатыеСтержни(const Стержни& стержни, Число& z, const ПробныйПроход& п,
                   const КругСоСтержнями& к, СжатаяАрматура& сжатая) {
  const Число предел = Число(0.6) * (Число(к.D) - п.z_t);
  if (z > предел) z = предел;
  if (z.v != сжатая.z_обхода) {
    double сумма = 0;
    int32_t число = 0;
    for (const double c : стержни.c) {
      if (c < z.v) {
        сумма += c;
        ++число;
      }
    }
    сжатая.z_обхода = z.v;
    сжатая.сумма = сумма;
    сжатая.число = число;
  }
  // A sum beyond the double range stays infinite and fails at this division (6).
  сжатая.cm = Число(сжатая.сумма) / сжатая.число;
  const Число прежнее = сжатая.k_;
  сжатая.k_ = сжатая.число;
  сжатая.As_ = ПлощадьСтержней(к.ds, сжатая.k_);
  return сжатая.k_ != прежнее;
}

// The stress in the tensioned bars: the design strength once the trial stress reaches the
// normative one, in proportion below it.
Число Напряжение(Число σ_проб, const КругСоСтержнями& к) {
  if (σ_проб >= к.Rsn) return к.Rs;
  return σ_проб * к.Rs / к.Rsn;
}

Число ВысотаСегмента(Число F, const КругСоСтержнями& к) {
  const Число R = Число(к.D) / 2;
  return Число(ФункцияСегмента1((F / (Квадрат(R) * к.Rb)).v)) * R;
}

// The tensioned extent moves just past the next bar while the tensioned bars yield and the
// compressed segment leaves room for it.
bool ДальшеЗаСтержень(const ПробныйПроход& п, Число x_new, Число σ_проб, const КругСоСтержнями& к) {
  return п.tn > 0 && п.z_t <= x_new && σ_проб >= к.Rsn && Число(0.9) * x_new > п.tn;
}

// The first pass of compression and tension: the reduced section and the slenderness.
struct ПриведённоеСечение {
  Число r_red;
  Число etta;
  bool неустойчиво = false;
};

ПриведённоеСечение Приведённое(const КругСоСтержнями& к, bool растяжение, double& Fs) {
  const Число Es = EsValue(к.класс_стали);
  float класс = к.класс_бетона;
  uint8_t код = kКодEb;
  const Число Eb = мтБетон(класс, код);
  const Число n1 = Es / Eb;
  const Число D = к.D, Dk = к.Dk, N = к.N, M = к.M;
  const Число As_tot = Квадрат(Число(к.ds) / 2000) * (Число(к.n) * kПиДесятичное);
  Fs = As_tot.v;
  const Число A_red = As_tot * n1 + к.A;
  const Число I_s = Квадрат(Dk) * As_tot / 8;
  const Число I_red = n1 * I_s + к.I;
  ПриведённоеСечение п;
  п.r_red = I_red / (A_red * D / 2);
  const Число fiL = растяжение ? (Число(к.Ml) - Число(к.Nl) * Dk / 2) / (M - Dk * N / 2) + 1
                               : (Число(к.Nl) * Dk / 2 + к.Ml) / (Dk * N / 2 + M) + 1;
  Число delta = Число(к.e) / D;
  const Число delta_min = Число(0.5) - Число(к.lo) * 0.01 / D - Число(к.Rb) * 0.01;
  if (delta < delta_min) delta = delta_min;
  const Число Ncr = ((Число(0.11) / (delta + 0.1) + 0.1) * (Число(к.I) / fiL) + n1 * I_s) *
                    (Eb * 6.4) / Квадрат(к.lo);
  // Under compression a force at or above the critical one leaves no capacity.
  if (!растяжение && УстойчивостьНеОбеспечена(Abs(N), Ncr)) {
    п.неустойчиво = true;
    return п;
  }
  п.etta = Число(1) / (Число(1) - N / Ncr);
  return п;
}

// Small eccentricity: the whole section is compressed.
double МалыйЭксцентриситет(const Стержни& стержни, const КругСоСтержнями& к, Число действующее) {
  const Число D = к.D;
  const Число z = D * 0.75 / 2;
  const Число k_ = ЧислоСжатых(стержни, z);
  const Число As_ = ПлощадьСтержней(к.ds, k_);
  const Число предельное = Квадрат(D / 2) * (Число(к.Rb) * 2.1) + Число(к.Rs) * As_;
  return ОпределитьЗапас(предельное.v, действующее.v, к.метод);
}

}  // namespace

std::vector<double> ПозицииСтержней(int32_t n, double R) {
  if (n < 1) Raise(kSubscriptOutOfRange);
  if (n > kНаибольшееЧислоСтержней) Raise(kOutOfMemory);
  std::vector<double> y(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    y[static_cast<size_t>(i)] = (Число(R) * Sin(Число(i) * kДваПи14 / n)).v;
  }
  return y;
}

double СредняяНижних(std::span<const double> y, double x, double D) {
  Число сумма = 0;
  int32_t число = 0;
  for (const double y_i : y) {
    const Число t = Число(D) / 2 + y_i;
    if (t < x) {
      сумма = сумма + t;
      ++число;
    }
  }
  return (сумма / число).v;
}

double СредняяВерхних(std::span<const double> y, double z, double D) {
  Число сумма = 0;
  int32_t число = 0;
  for (const double y_i : y) {
    const Число c = Число(D) / 2 - y_i;
    if (c < z) {
      сумма = сумма + c;
      ++число;
    }
  }
  return (сумма / число).v;
}

double ДальнийНижний(std::span<const double> y, double x, double D) {
  Число дальний = 0;
  for (const double y_i : y) {
    const Число t = Число(D) / 2 + y_i;
    if (t < x && t > дальний) дальний = t;
  }
  return дальний.v;
}

double БлижайшийНижний(std::span<const double> y, double D) {
  Число ближайший = D;
  for (const double y_i : y) {
    const Число t = Число(D) / 2 + y_i;
    if (t < ближайший) ближайший = t;
  }
  return ближайший.v;
}

double БлижайшийЗа(std::span<const double> y, double x, double D) {
  Число ближайший = D;
  for (const double y_i : y) {
    const Число t = Число(D) / 2 + y_i;
    if (t > x && t < ближайший) ближайший = t;
  }
  return ближайший.v;
}

int32_t ЧислоНижних(std::span<const double> y, double x, double D) {
  int32_t число = 0;
  for (const double y_i : y) {
    if (Число(D) / 2 + y_i < x) ++число;
  }
  return число;
}

int32_t ЧислоВерхних(std::span<const double> y, double z, double D) {
  int32_t число = 0;
  for (const double y_i : y) {
    if (Число(D) / 2 - y_i < z) ++число;
  }
  return число;
}

double ЦентрПолукольца(double R1, double R2) {
  const Число половина2 = Число(kПиДесятичное) * Квадрат(R2) / 2;
  const Число половина1 = Число(kПиДесятичное) * Квадрат(R1) / 2;
  return ((половина2 * (Число(R2) * 4 / kТриПи14) - половина1 * (Число(R1) * 4 / kТриПи14)) /
          (половина2 - половина1))
      .v;
}

double ФункцияСегмента1(double v) {
  const Число x = v;
  if (v <= 0.055) return (Число(1.818) * x).v;
  if (v <= 0.295) return (Число(0.833) * x + 0.0542).v;
  if (v <= 0.786) return (Число(0.612) * x + 0.119).v;
  return (Число(0.509) * x + 0.199).v;
}

double ФункцияСегмента2(double v) {
  const Число x = v;
  if (v <= 0.1) return (Число(0.55) * x).v;
  if (v <= 0.3) return (Число(1.2) * x - 0.065).v;
  if (v <= 0.6) return (Число(1.633) * x - 0.195).v;
  return (Число(1.965) * x - 0.392).v;
}

double ИзгибКругаСоСтержнями(const КругСоСтержнями& к) {
  const Стержни стержни = РасставитьСтержни(к);
  const Число D = к.D;
  const Число Rs = к.Rs;
  double x = (D / 2 - Число(к.Dk) / 4).v;
  const Число a_min = БлижайшийНижний(стержни.y, к.D);
  СжатаяАрматура сж;
  ПробныйПроход п;
  double x_пройден = x;
  Число σ_проб, σ, F, v, z, x_new;
  for (int32_t проход = 1;; ++проход) {
    // A trial that stays at the same extent (no bar left beyond it) has the same tensioned bars.
    if (проход == 1 || x != x_пройден) п = РастянутыеСтержни(стержни, x, к);
    x_пройден = x;
    for (int32_t повтор = 1; повтор <= kНаибольшееЧислоПроходов; ++повтор) {
      σ_проб = Sqrt(((Число(к.Rsn) * сж.As_ * 2 + КлассБетона(к) * п.Ac) / п.As).v) * 15.8;
      σ = Напряжение(σ_проб, к);
      z = Число(0.6) * ВысотаСегмента(σ * п.As, к);
      if (a_min == 0 || a_min > z) break;
      const bool изменилось = СжатыеСтержни(стержни, z, п, к, сж);
      if (!(σ != Rs && изменилось)) break;
    }
    F = σ * п.As - Rs * сж.As_;
    v = F / (Квадрат(D / 2) * к.Rb);
    const Число xc = Число(ФункцияСегмента1(v.v)) * D / 2;
    z = Число(0.6) * xc;
    x_new = D - xc;
    // After the last allowed trial the extent stays where it is.
    if (проход >= kНаибольшееЧислоПроходов || !ДальшеЗаСтержень(п, x_new, σ_проб, к)) break;
    x = (п.tn + 0.001).v;
  }

  Число Mlim;
  if (п.z_t > x_new) {
    z = Число(0.6) * (D - п.z_t);
    v = F / (Квадрат(D) * к.Rb);
    Mlim = Квадрат(D) * (v * к.Rb) * (п.h0 - z) + (п.h0 - сж.cm) * (Rs * сж.As_);
  } else if (z >= сж.cm) {
    Mlim = Квадрат(D / 2) * (v * к.Rb) * (п.h0 - z) + (п.h0 - сж.cm) * (Rs * сж.As_);
  } else {
    Mlim = (п.h0 - сж.cm) * (σ * п.As);
  }
  return ОпределитьЗапас(Mlim.v, к.M, к.метод);
}

namespace {

// Eccentric compression (N > 0) or eccentric tension (N < 0) with the force outside the bar
// ring: compression compares with the signed moment e_s · N, tension with its magnitude.
double ВнецентренноеУсилие(const КругСоСтержнями& к, double& Fs, bool растяжение, Число c) {
  const Стержни стержни = РасставитьСтержни(к);
  const Число D = к.D;
  const Число N = к.N;
  const Число Rs = к.Rs;
  const Число e = к.e;
  double x = (D / 2 - Число(к.Dk) / 4).v;
  const Число a_min = БлижайшийНижний(стержни.y, к.D);
  СжатаяАрматура сж;
  ПробныйПроход п;
  double x_пройден = x;
  ПриведённоеСечение сечение;
  Число e_s, σ_проб, σ, F, v, z, x_new;
  for (int32_t проход = 1;; ++проход) {
    // A trial that stays at the same extent (no bar left beyond it) has the same tensioned bars.
    if (проход == 1 || x != x_пройден) п = РастянутыеСтержни(стержни, x, к);
    x_пройден = x;
    if (проход == 1) {
      сечение = Приведённое(к, растяжение, Fs);
      if (сечение.неустойчиво) return ОпределитьЗапас(0, Abs(N).v, к.метод);
    }
    if (растяжение) {
      e_s = п.tm + e - D / 2;
      if (e_s < 0) {
        const Число Fs_все = Квадрат(Число(к.ds) / 2000) * (Число(к.n) * kПиДесятичное);
        Fs = Fs_все.v;
        return ОпределитьЗапас((Rs * Fs_все * c).v, Abs((п.tn + e) * N).v, к.метод);
      }
    } else {
      e_s = e * сечение.etta + D / 2 - п.tm;
    }
    const Число действующее = растяжение ? Abs(e_s * N) : e_s * N;
    if (e <= сечение.r_red) return МалыйЭксцентриситет(стержни, к, действующее);

    Число e_ = e - сечение.r_red;
    if (e_ > D * 5) e_ = D * 5;
    for (int32_t повтор = 1; повтор <= kНаибольшееЧислоПроходов; ++повтор) {
      σ_проб = Sqrt(((Число(к.Rsn) * сж.As_ * 2 + КлассБетона(к) * п.Ac) * e_ / (п.As * 5 * D)).v) *
               15.8;
      σ = Напряжение(σ_проб, к);
      z = Число(0.6) * ВысотаСегмента(σ * п.As + N, к);
      if (a_min <= 0 || a_min >= z) {
        сж.As_ = 0;
        break;
      }
      const bool изменилось = СжатыеСтержни(стержни, z, п, к, сж);
      if (!(σ != Rs && изменилось)) break;
    }
    F = σ * п.As - Rs * сж.As_ + N;
    v = F / (Квадрат(D / 2) * к.Rb);
    const Число xc = Число(ФункцияСегмента1(v.v)) * D / 2;
    z = Число(0.6) * xc;
    x_new = D - xc;
    // After the last allowed trial the extent stays where it is.
    if (проход >= kНаибольшееЧислоПроходов || !ДальшеЗаСтержень(п, x_new, σ_проб, к)) break;
    x = (п.tn + 0.001).v;
  }

  Число Mlim;
  if (п.z_t > x_new) {
    z = Число(0.6) * (D - п.z_t);
    Mlim = (п.h0 - сж.cm) * (Rs * сж.As_) + (п.h0 - z) * (σ * п.As + N - Rs * сж.As_);
  } else if (z >= сж.cm) {
    Mlim = Квадрат(D / 2) * (v * к.Rb) * (п.h0 - z) + (п.h0 - сж.cm) * (Rs * сж.As_);
  } else {
    Mlim = (σ * п.As + N) * (п.h0 - сж.cm);
  }
  const Число действующее = растяжение ? Abs(e_s * N) : e_s * N;
  return ОпределитьЗапас(Mlim.v, действующее.v, к.метод);
}

}  // namespace

double СжатиеКругаСоСтержнями(const КругСоСтержнями& к, double& Fs) {
  return ВнецентренноеУсилие(к, Fs, false, 0);
}

double РастяжениеКругаСоСтержнями(const КругСоСтержнями& к, double& Fs) {
  const Число радиус = Число(к.Dk) / 2;
  const Число полутолщина = Число(к.ds) / 2000;
  const Число c = ЦентрПолукольца((радиус - полутолщина).v, (радиус + полутолщина).v);
  const Число e = к.e;
  // The force inside the bar ring: the half of the bars on its side carries it.
  if (e < c) {
    const Число Fs_половина = Квадрат(Число(к.ds) / 2000) * (Число(к.n) * kПиДесятичное) / 2;
    Fs = Fs_половина.v;
    const Число предельное = Число(к.Rs) * Fs_половина * c * 2 / (c + e);
    return ОпределитьЗапас(предельное.v, -к.N, к.метод);
  }
  return ВнецентренноеУсилие(к, Fs, true, c);
}

}  // namespace armocalc::circular
