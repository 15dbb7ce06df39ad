#pragma once
// Report lines that several checks write alike in their input-data section.

#include <cstdint>

#include "kernel/report.hpp"

namespace armocalc {

// The force N (tension or compression) and the moment M (which layer it stretches).
void ДобавитьСилуИМомент(Отчёт& rep, double N, double M);
// The steel class ("А" with its Latin I's) and the concrete class.
void ДобавитьКлассыМатериалов(Отчёт& rep, uint8_t КлассАрматурнойСтали, float КлассБетона);
void ДобавитьРазмерыСечения(Отчёт& rep, double h, double b);
// The areas (cm²) of the top and bottom layers and their edge distances (m).
void ДобавитьПлощадиИРасстояния(Отчёт& rep, double Fв, double Fн, double ав, double ан);
// The work character of the section.
void ДобавитьХарактерРаботы(Отчёт& rep, double h, double M, double N);

}  // namespace armocalc
