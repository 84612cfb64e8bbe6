#include "platform/gui/hyper_label.h"

#include "platform/gui/gui_symbols.h"
#include "platform/runtime/class_declaration.h"

namespace cuentas::gui {
Value makeHyperLabel(Symbol name, std::string caption, std::string description,
                     std::string helpContext) {
    std::vector<Value> args{Value(name), Value(std::move(caption)), Value(std::move(description)),
                            Value(std::move(helpContext))};
    return Value(CreateInstance(symbols::kHyperLabel, args));
}

Symbol nameSymbolOf(const Value& hyperLabel) {
    const auto* record = objectAs<HyperLabel>(hyperLabel);
    return record ? record->nameSymbol : Symbol();
}

void declareHyperLabelClass() {
    ClassDeclaration<HyperLabel>("HYPERLABEL")
        .init([](HyperLabel& label, Arguments args) {
            // The name may come as a symbol or as its text.
            if (!args.empty()) {
                label.nameSymbol =
                    args[0].isSymbol() ? args[0].asSymbol() : Symbol::intern(args[0].asString());
            }
            label.caption = argumentAt(args, 1).asString();
            label.description = argumentAt(args, 2).asString();
            label.helpContext = argumentAt(args, 3).asString();
        })
        .property("NAMESYM", &HyperLabel::nameSymbol)
        .property("CAPTION", &HyperLabel::caption)
        .property("DESCRIPTION", &HyperLabel::description)
        .property("HELPCONTEXT", &HyperLabel::helpContext);
}

} // namespace cuentas::gui
