#include "platform/gui/hyper_label.h"

namespace cuentas::gui {
namespace {

const HyperLabel& label(const Object& self) {
    return static_cast<const HyperLabel&>(self);
}

std::string textOf(Arguments args, std::size_t index) {
    return index < args.size() ? args[index].asString() : std::string();
}

} // namespace

Value makeHyperLabel(Symbol name, std::string caption, std::string description,
                     std::string helpContext) {
    std::vector<Value> args{Value(name), Value(std::move(caption)), Value(std::move(description)),
                            Value(std::move(helpContext))};
    return Value(CreateInstance(Symbol::intern("HYPERLABEL"), args));
}

Symbol nameSymbolOf(const Value& hyperLabel) {
    const auto* record = objectAs<HyperLabel>(hyperLabel);
    return record ? record->nameSymbol : Symbol();
}

void declareHyperLabelClass() {
    DeclareClass("HYPERLABEL", {},
                 [](const ClassInfo& info) { return std::make_shared<HyperLabel>(info); })
        .method("INIT",
                [](Object& self, Arguments args) {
                    auto& record = static_cast<HyperLabel&>(self);
                    // The name may come as a symbol or as its text.
                    if (!args.empty()) {
                        record.nameSymbol = args[0].isSymbol() ? args[0].asSymbol()
                                                               : Symbol::intern(args[0].asString());
                    }
                    record.caption = textOf(args, 1);
                    record.description = textOf(args, 2);
                    record.helpContext = textOf(args, 3);
                    return Value(self.reference());
                })
        .property("NAMESYM", [](const Object& self) { return Value(label(self).nameSymbol); })
        .property("CAPTION", [](const Object& self) { return Value(label(self).caption); })
        .property("DESCRIPTION", [](const Object& self) { return Value(label(self).description); })
        .property("HELPCONTEXT", [](const Object& self) { return Value(label(self).helpContext); });
}

} // namespace cuentas::gui
