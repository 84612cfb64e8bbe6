#include "platform/gui/accessible_names.h"

#include "platform/gui/window_styles.h"

#include <algorithm>
#include <vector>

namespace cuentas::gui {
namespace {

bool isFixedText(const ControlTemplate& control) {
    return control.controlClass == ControlClass::Static && !control.text.empty() &&
           decodeControlStyle(control.controlClass, control.style, control.extendedStyle).visible;
}

// An edit's text is what the user typed, never a caption.
bool needsName(const ControlTemplate& control) {
    return control.controlClass == ControlClass::Edit || control.text.empty();
}

int verticalOverlap(const DialogRect& a, const DialogRect& b) {
    return std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
}

// The fixed text to the left of `control` on its row, or nullptr.
const ControlTemplate* labelOnRow(const ControlTemplate& control,
                                  const std::vector<const ControlTemplate*>& fixedTexts) {
    const ControlTemplate* best = nullptr;
    for (const ControlTemplate* text : fixedTexts) {
        const int right = text->rect.x + text->rect.width;
        const int overlap = verticalOverlap(text->rect, control.rect);
        if (right > control.rect.x || overlap <= 0) {
            continue;
        }
        if (!best) {
            best = text;
            continue;
        }
        const int bestRight = best->rect.x + best->rect.width;
        if (right > bestRight ||
            (right == bestRight && overlap > verticalOverlap(best->rect, control.rect))) {
            best = text;
        }
    }
    return best;
}

} // namespace

std::string nameFromCaption(std::string_view caption) {
    const std::size_t end = caption.find_last_not_of(" :");
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : caption.substr(0, end + 1));
}

std::map<int, int> namingFixedTexts(const DialogTemplate& dialogTemplate) {
    std::vector<const ControlTemplate*> fixedTexts;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (isFixedText(control)) {
            fixedTexts.push_back(&control);
        }
    }
    std::map<int, int> labels;
    const ControlTemplate* previousFixedText = nullptr;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (needsName(control)) {
            const ControlTemplate* label = labelOnRow(control, fixedTexts);
            if (!label) {
                label = previousFixedText;
            }
            if (label) {
                labels[control.id] = label->id;
            }
        }
        if (isFixedText(control)) {
            previousFixedText = &control;
        }
    }
    return labels;
}

std::map<int, std::string> accessibleNamesFromTemplate(const DialogTemplate& dialogTemplate) {
    std::map<int, std::string> names;
    for (const auto& [id, label] : namingFixedTexts(dialogTemplate)) {
        names[id] = nameFromCaption(dialogTemplate.control(label)->text);
    }
    return names;
}

} // namespace cuentas::gui
