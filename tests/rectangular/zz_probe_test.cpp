#include <iostream>
#include "strength_test_support.hpp"
namespace armocalc { namespace {
using namespace strength_test;
class Probe : public StrengthTest {};
void Print(const std::vector<std::string>& s){ for (auto& l : s) std::cout << l << "\n"; std::cout << "=====\n"; }
TEST_F(Probe, A) {
  Вход в; в.N = 1; в.M = 0.3; в.Nl = 0.5; в.L = 6; в.Z = 4.8; в.s = 0; в.dx = 0.01; в.dy = 0.01; в.nx = 10; в.ny = 10;
  Print(в.Строки()); std::cout << "s=" << в.s << "\n";
}
TEST_F(Probe, B) {
  Вход в; в.N = 3; в.M = 0.05; в.Nl = 1.5; в.L = 5; в.s = 0.05; в.dx = 0.01; в.Fн = 10;
  Print(в.Строки());
}
TEST_F(Probe, C) {
  Вход в; в.N = 2; в.M = 1.0; в.Fн = 150; в.Fв = 5; в.класс_бетона = 20;
  auto s = в.Строки(); for (size_t i = 0; i < s.size() && i < 60; ++i) std::cout << s[i] << "\n";
  std::cout << s.back() << "\n" << s.size() << "\n";
}
TEST_F(Probe, D) {
  ВходТ в; в.N = 2; в.M = 0.3; в.L = 6; в.Z = 1; в.s = 0.05; в.dx = 0.01; в.dy = 0.01; в.nx = 5; в.ny = 5;
  в.таблица = ТаблицаСтержней({{Variant(-0.4), Variant(0.2), Variant(20.0)}, {Variant(0.4), Variant(0.2), Variant(20.0)}, {Variant(-0.4), Variant(-0.2), Variant(25.0)}, {Variant(0.4), Variant(-0.2), Variant(25.0)}});
  Print(в.Строки()); std::cout << "s=" << в.s << "\n";
}
}}
