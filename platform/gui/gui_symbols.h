#pragma once
// The names of the GUI class library that code sends or reads, interned once while the program
// starts: the classes, the dialog's methods and the controls' properties.

#include "platform/runtime/symbol.h"

namespace cuentas::symbols {

// Classes. CONTROL, FONT and HYPERLABEL are also the names of properties.
inline const Symbol kDialogWindow = Symbol::intern("DIALOGWINDOW");
inline const Symbol kControl = Symbol::intern("CONTROL");
inline const Symbol kSingleLineEdit = Symbol::intern("SINGLELINEEDIT");
inline const Symbol kPushButton = Symbol::intern("PUSHBUTTON");
inline const Symbol kFixedText = Symbol::intern("FIXEDTEXT");
inline const Symbol kFont = Symbol::intern("FONT");
inline const Symbol kHyperLabel = Symbol::intern("HYPERLABEL");
inline const Symbol kResourceId = Symbol::intern("RESOURCEID");
inline const Symbol kEditFocusChangeEvent = Symbol::intern("EDITFOCUSCHANGEEVENT");

// Methods of DIALOGWINDOW.
inline const Symbol kPreInit = Symbol::intern("PREINIT");
inline const Symbol kPostInit = Symbol::intern("POSTINIT");
inline const Symbol kShow = Symbol::intern("SHOW");
inline const Symbol kEndDialog = Symbol::intern("ENDDIALOG");
inline const Symbol kEditFocusChange = Symbol::intern("EDITFOCUSCHANGE");
inline const Symbol kEditPasteRefused = Symbol::intern("EDITPASTEREFUSED");

// Properties.
inline const Symbol kCaption = Symbol::intern("CAPTION");
inline const Symbol kClassicKeys = Symbol::intern("CLASSICKEYS");
inline const Symbol kNameSym = Symbol::intern("NAMESYM");
inline const Symbol kTextValue = Symbol::intern("TEXTVALUE");
inline const Symbol kPicture = Symbol::intern("PICTURE");
inline const Symbol kBold = Symbol::intern("BOLD");
inline const Symbol kGotFocus = Symbol::intern("GOTFOCUS");
inline const Symbol kAccessibleName = Symbol::intern("ACCESSIBLENAME");

} // namespace cuentas::symbols
