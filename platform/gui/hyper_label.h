#pragma once
// HYPERLABEL: the label record of a window or control: name symbol, caption, description and
// help context. The name symbol is how a dialog tells its controls apart.

#include "platform/runtime/object.h"

#include <string>

namespace cuentas::gui {

class HyperLabel : public Object {
public:
    using Object::Object;
    Symbol nameSymbol;
    std::string caption;
    std::string description;
    std::string helpContext;
};

// A new HYPERLABEL object.
Value makeHyperLabel(Symbol name, std::string caption, std::string description = {},
                     std::string helpContext = {});
// The name symbol of a HYPERLABEL value; the null symbol for anything else.
Symbol nameSymbolOf(const Value& hyperLabel);

void declareHyperLabelClass();

} // namespace cuentas::gui
