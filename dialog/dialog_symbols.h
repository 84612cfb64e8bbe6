#pragma once
// The names of the account dialog, interned once while the program starts: its class, its
// methods and its controls (a push button's name is also the method it calls).

#include "platform/runtime/symbol.h"

namespace cuentas::symbols {

inline const Symbol kMainDialog = Symbol::intern("MAINDIALOG");
inline const Symbol kMiraBanco = Symbol::intern("MIRABANCO");
inline const Symbol kBuscaBanco = Symbol::intern("BUSCABANCO");
inline const Symbol kCalculaDc = Symbol::intern("CALCULADC");

// Controls.
inline const Symbol kBanco = Symbol::intern("BANCO");
inline const Symbol kSucursal = Symbol::intern("SUCURSAL");
inline const Symbol kCuenta = Symbol::intern("CUENTA");
inline const Symbol kGrabar = Symbol::intern("GRABAR");
inline const Symbol kCancelar = Symbol::intern("CANCELAR");
inline const Symbol kFixedText1 = Symbol::intern("FIXEDTEXT1");
inline const Symbol kFtSucursal = Symbol::intern("FTSUCURSAL");
inline const Symbol kFixedText3 = Symbol::intern("FIXEDTEXT3");
inline const Symbol kFixedText4 = Symbol::intern("FIXEDTEXT4");
inline const Symbol kNombre = Symbol::intern("NOMBRE");
inline const Symbol kDc = Symbol::intern("DC");
inline const Symbol kCalcular = Symbol::intern("CALCULAR");

} // namespace cuentas::symbols
