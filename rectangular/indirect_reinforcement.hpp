#pragma once
// Indirect (transverse) reinforcement of a compressed element: welded meshes or a spiral of pitch
// s (SNiP 2.03.01-84*, formulas 57 to 61). It raises the concrete strength to Rb_red within the
// confined core.

namespace armocalc {

class HostRange;

enum class ВидКосвенногоАрмирования { Сетки, Спираль };

// The confining reinforcement: mesh bar diameters dx, dy (m), bar counts nx, ny and bar lengths
// lbx, lby (m) of the meshes laid at the pitch s; a spiral uses dx (its bar diameter) and s only.
struct КосвеннаяАрматура {
  ВидКосвенногоАрмирования вид;
  double dx;
  double s;
  double dy = 0;
  double nx = 0;
  double ny = 0;
  double lbx = 0;
  double lby = 0;

  static КосвеннаяАрматура Сетки(double dx, double s, double dy, double nx, double ny, double lbx,
                                 double lby) {
    return {ВидКосвенногоАрмирования::Сетки, dx, s, dy, nx, ny, lbx, lby};
  }
  static КосвеннаяАрматура Спираль(double dx, double s) {
    return {ВидКосвенногоАрмирования::Спираль, dx, s};
  }
};

struct ИтогКосвенногоАрмирования {
  double Rb_red;  // MPa, reduced prism strength of the confined concrete
  double мю;      // indirect reinforcement ratio
  double Fef;     // m², the confined core
  double Jef;     // m⁴
  double h_ef;    // m, height of the core
};

// Core from the outermost longitudinal bars: xs, xsi their positions across the width, yi and y
// their distances from mid-height (compressed and tension layer), d and di their diameters (m);
// a diameter that is not positive is replaced by 0.016 in the caller's variable.
ИтогКосвенногоАрмирования КосвенноеАрмирование(double Rb, double Rs, double ec, double xs,
                                               double xsi, double yi, double y, double& d,
                                               double& di, const КосвеннаяАрматура& арматура);

// The bars of a worksheet bar table (column 1 x, column 2 y in m, column 3 diameter in mm) that
// bound the core: the corners of the bounding box of the bar centres and the diameters (m) of the
// bars nearest to them. A table without bars gives a core of size 0 at the origin.
struct КрайниеСтержни {
  double xmin = 0;
  double ymin = 0;
  double xmax = 0;
  double ymax = 0;
  double Dmin = 0;
  double Dmax = 0;
};
КрайниеСтержни НайтиКрайниеСтержни(const HostRange& Таблица);

// The same with the core measured on the bars of the table.
ИтогКосвенногоАрмирования КосвенноеАрмированиеПоТаблице(double Rb, double Rs, double ec,
                                                        const HostRange& Таблица,
                                                        const КосвеннаяАрматура& арматура);

}  // namespace armocalc
