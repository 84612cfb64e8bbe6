#include "cli/messages.h"

#include "platform/os/codepage.h"
#include "platform/os/operating_system.h"

namespace cuentas::cli {
namespace {

struct Translations {
    const char* english;
    const char* spanish;
};

// In the order of Text; Spanish texts in Windows-1252.
const Translations kCatalog[] = {
    {"valid", "v\xE1lido"},
    {"recovered as {1} with {2}", "recuperado como {1} con {2}"},
    {"{2} at position {1}", "{2} en la posici\xF3n {1}"},
    {"no number", "no hay ning\xFAn n\xFAmero"},
    {"line {1}: longer than {2} bytes, not checked",
     "l\xEDnea {1}: m\xE1s de {2} bytes, sin comprobar"},
    {"line {1}: the quote opened on line {2} never closes; the record was taken to end with "
     "that line, not checked",
     "l\xEDnea {1}: las comillas abiertas en la l\xEDnea {2} no se cierran; el registro se "
     "tom\xF3 hasta el final de esa l\xEDnea, sin comprobar"},
    {"blank line", "l\xEDnea en blanco"},
    {"not a Spanish IBAN: it begins with {1}, not ES",
     "no es un IBAN espa\xF1ol: empieza por {1}, no por ES"},
    {"only the word IBAN, no number after it", "solo la palabra IBAN, sin n\xFAmero detr\xE1s"},
    {"the word IBAN runs into the number: put a blank or a colon after it",
     "la palabra IBAN va pegada al n\xFAmero: ponga un blanco o dos puntos detr\xE1s"},
    {"the country code {1} holds a '?', which stands only for an unreadable digit; a Spanish "
     "IBAN begins with ES",
     "el c\xF3"
     "digo de pa\xEDs {1} lleva un \xAB?\xBB, que solo ocupa el lugar de una cifra ilegible; "
     "un IBAN espa\xF1ol empieza por ES"},
    {"character {1} at position {2} is not a digit",
     "el car\xE1"
     "cter {1} de la posici\xF3n {2} no es una cifra"},
    {"'{1}'", "\xAB{1}\xBB"},
    {"U+{1} '{2}'", "U+{1} \xAB{2}\xBB"},
    {"U+{1} {2}", "U+{1} ({2})"},
    {"0x{1} (not UTF-8)", "0x{1} (no es UTF-8)"},
    {"fullwidth digit {1}", "cifra de ancho completo {1}"},
    {"control character", "car\xE1"
                          "cter de control"},
    {"invisible character", "car\xE1"
                            "cter invisible"},
    {"1 digit given, {2} expected", "1 cifra, se esperan {2}"},
    {"{1} digits given, {2} expected", "{1} cifras, se esperan {2}"},
    {"{1} characters given, a Spanish IBAN has {2}",
     "{1} caracteres, un IBAN espa\xF1ol tiene {2}"},
    {"the first control digit (over bank and branch) is {1}, it should be {2}",
     "el primer d\xEDgito de control (de entidad y oficina) es {1}, deber\xED"
     "a ser {2}"},
    {"the second control digit (over the account) is {1}, it should be {2}",
     "el segundo d\xEDgito de control (de la cuenta) es {1}, deber\xED"
     "a ser {2}"},
    {"both control digits are wrong: {1}, they should be {2}",
     "los dos d\xEDgitos de control est\xE1n mal: {1}, deber\xED"
     "an ser {2}"},
    {"; the IBAN check digits fail too", "; los d\xEDgitos de control del IBAN tampoco cuadran"},
    {"the IBAN check digits are {1}, they should be {2}",
     "los d\xEDgitos de control del IBAN son {1}, deber\xED"
     "an ser {2}"},
    {"the first control digit (over bank and branch) fails",
     "el primer d\xEDgito de control (de entidad y oficina) no cuadra"},
    {"the second control digit (over the account) fails",
     "el segundo d\xEDgito de control (de la cuenta) no cuadra"},
    {"both control digits fail", "los dos d\xEDgitos de control fallan"},
    {"the IBAN check digits do not fit the digits",
     "los d\xEDgitos de control del IBAN no cuadran con las cifras"},
    {"{1}, and the IBAN check digits fail too", "{1}, y los del IBAN tampoco cuadran"},
    {"{1}; one change away, this number passes every check: {2}",
     "{1}; a un cambio de distancia, este n\xFAmero pasa todas las comprobaciones: {2}"},
    {"{1}; one change away, these {2} numbers pass every check: {3}",
     "{1}; a un cambio de distancia, estos {2} n\xFAmeros pasan todas las comprobaciones: {3}"},
    {"{1} for the {2} at position {3}", "{1} en lugar del {2} de la posici\xF3n {3}"},
    {"the {1} and {2} at positions {3} and {4} swapped",
     "el {1} y el {2} de las posiciones {3} y {4} intercambiados"},
    {"in the {1}: {2}", "en {1}: {2}"},
    {"in the {1} and the {2}: {3}", "en {1} y {2}: {3}"},
    {"{1} numbers fit the unreadable digits; the check digits cannot tell which",
     "{1} n\xFAmeros encajan con las cifras ilegibles; los d\xEDgitos de control no deciden "
     "cu\xE1l"},
    {"{1} unreadable digits are too many to recover",
     "{1} cifras ilegibles son demasiadas para recuperarlas"},
    {"no digit fits the unreadable place; another digit must be wrong",
     "ninguna cifra encaja en el lugar ilegible; otra cifra debe de estar mal"},
    {"the {1} has {2} digits, at most {3} fit", "{1} tiene {2} cifras, caben {3} como mucho"},
    {"character {1} at position {2} of the {3} is not a digit",
     "el car\xE1"
     "cter {1} de la posici\xF3n {2} de {3} no es una cifra"},
    {"bank code", "la entidad"},
    {"branch code", "la oficina"},
    {"account", "la cuenta"},
    {"control digits", "los d\xEDgitos de control"},
    {"{1}; warning: {2}", "{1}; aviso: {2}"},
    {"warning: {1}", "aviso: {1}"},
    {"entity {1} is not in the register", "la entidad {1} no figura en el registro"},
    {"entity {1} was absorbed by {2}", "la entidad {1} fue absorbida por {2}"},
    {"entity {1} is no longer active", "la entidad {1} ya no est\xE1 en activo"},
    {"{1}, today {2}", "{1}, hoy {2}"},
    {"current", "en activo"},
    {"absorbed by {1}", "absorbida por {1}"},
    {"no longer active", "ya no est\xE1 en activo"},
    {"line {1}", "l\xEDnea {1}"},
    {"no command given", "falta la orden"},
    {"unknown command '{1}'", "orden desconocida: \xAB{1}\xBB"},
    {"unknown option '{1}'", "opci\xF3n desconocida: \xAB{1}\xBB"},
    {"option '{1}' needs a value", "la opci\xF3n \xAB{1}\xBB necesita un valor"},
    {"--column wants a header name or a position from 1, not '{1}'",
     "--column pide un nombre de la cabecera o una posici\xF3n desde 1, no \xAB{1}\xBB"},
    {"--separator wants one character or 'tab', not '{1}'", "--separator pide un car\xE1"
                                                            "cter o \xABtab\xBB, no \xAB{1}\xBB"},
    {"option '{1}' goes with --csv", "la opci\xF3n \xAB{1}\xBB solo vale con --csv"},
    {"no column '{1}' in the header", "no hay ninguna columna \xAB{1}\xBB en la cabecera"},
    {"line {3}: the number should be in field {2}, the record has {1}",
     "l\xEDnea {3}: el n\xFAmero deber\xED"
     "a estar en el campo {2}, el registro tiene {1}"},
    {"Try 'cuentas-cli --help' for more information.",
     "Pruebe \xAB"
     "cuentas-cli --help\xBB para m\xE1s informaci\xF3n."},
    {"cannot open the register {1}: {2}", "no se puede abrir el registro {1}: {2}"},
    {"the register {1} is damaged: {2}", "el registro {1} est\xE1 da\xF1"
                                         "ado: {2}"},
    {"the register {1} cannot be used: {2}", "el registro {1} no sirve: {2}"},
    {"cannot read the standard input: {1}", "no se puede leer la entrada est\xE1ndar: {1}"},
    {"the standard input is a directory", "la entrada est\xE1ndar es un directorio"},
    {"cannot write the standard output: {1}", "no se puede escribir en la salida est\xE1ndar: {1}"},
    {"register: {1}, dated {2}, {3} entities", "registro: {1}, con fecha {2}, {3} entidades"},
    {"{1}-{2}-{3}", "{3}/{2}/{1}"},
    {"Usage: cuentas-cli COMMAND [OPTION]... [NUMBER]...\n"
     "\n"
     "Checks, computes, converts and diagnoses Spanish account numbers: the 20-digit\n"
     "customer account code (bank, branch, 2 control digits, account) and the Spanish\n"
     "IBAN (ES, 2 check digits, the 20 digits). A number may be written with blanks and\n"
     "hyphens, letters in either case and the word IBAN before it; a '?' stands for one\n"
     "digit that could not be read. Quote a number that holds blanks.\n"
     "\n"
     "Commands:\n"
     "  check NUMBER...     say whether each number is valid, or what is wrong and where\n"
     "  digits BANK BRANCH ACCOUNT\n"
     "                      print the two control digits (short parts are zero-filled)\n"
     "  digits CODE...      print the two control digits of 20-character codes with ??\n"
     "                      (or any digits) where the control digits go\n"
     "  iban NUMBER...      print the IBAN of each number; an invalid one is an error\n"
     "  ccc NUMBER...       print the 20 digits of each number (an IBAN or a code)\n"
     "  format NUMBER...    print the grouped paper form of each number, as\n"
     "                      ES91 2100 0418 4502 0005 1332 or 2100 0418 45 0200051332\n"
     "  bank CODE|NUMBER... print the entity's name, whether it is current or absorbed\n"
     "                      (and by whom), and its BIC; a CODE of up to 4 digits is\n"
     "                      zero-filled\n"
     "\n"
     "Every command checks each number first. An unreadable digit ('?', one to a part)\n"
     "is recovered when the control digits determine it; the number then counts as\n"
     "valid. When the check or control digits fail, the message names every number one\n"
     "typo away (one digit changed, or two neighbouring digits swapped) that passes\n"
     "every check and whose bank is in the register: always for an IBAN, for a code\n"
     "when there are at most three; the check digits alone are advised only when\n"
     "nothing else fits. With no NUMBER, or with -, numbers are read from standard\n"
     "input, one a line, and each result is written as soon as it is known. Results\n"
     "go to standard output, one a line; for digits, iban, ccc, format and bank a\n"
     "number that fails leaves its line empty and the reason goes to standard error.\n"
     "\n"
     "Options:\n"
     "  --csv               read and write CSV: the other columns pass unchanged and\n"
     "                      the columns status, compact, iban, entity, message, ccc\n"
     "                      are appended\n"
     "  --column NAME|N     the column that holds the number: a header name, or a\n"
     "                      position from 1 (default 1)\n"
     "  --separator C       the CSV separator: one character, or tab (default: the\n"
     "                      most frequent of comma, semicolon and tab in the first line)\n"
     "  --json              write one JSON object per line (a blank line too); a\n"
     "                      failing number's candidates in \"candidates\"\n"
     "  --table FILE        read the entity register from FILE instead of\n"
     "                      {1}\n"
     "  --strict            an entity that is not in the register makes the number\n"
     "                      invalid\n"
     "  -h, --help          show this help and exit\n"
     "  -V, --version       show the version and the register's date and exit\n"
     "\n"
     "Lines may end in LF, CR LF or a lone CR, each line as it does; each result line\n"
     "keeps its line's end. A line or record may hold up to 1048576 bytes: a longer\n"
     "one passes through unchanged, not checked (status too-long).\n"
     "\n"
     "CSV: a first line whose number column holds no digit, or that lacks the column\n"
     "and holds no digit at all, is a header (always, with --column NAME), and gets the\n"
     "names of the result columns. Blank lines, a byte-order mark and quoted fields\n"
     "(separators, quotes and line breaks inside) are understood. A quote that never\n"
     "closes ends its record at the end of its line, which is written with the quote\n"
     "closed (status unterminated-quote), and the next line is read anew; a record\n"
     "without the number's column gets missing-field. Each says the line where its\n"
     "record began. A bad line never stops the batch.\n"
     "\n"
     "Status words (CSV and JSON): valid, recovered, empty, country, chars, length,\n"
     "bank-branch-digit, account-digit, control-digits, iban-digits, ambiguous, no-fit,\n"
     "too-long, unterminated-quote, missing-field, blank (JSON only); and, for a valid\n"
     "number, the warnings unknown-bank (an error with --strict), absorbed-bank and\n"
     "inactive-bank.\n"
     "\n"
     "Messages are in Spanish when the first of LC_ALL, LC_MESSAGES and LANG that is\n"
     "set names a Spanish locale (es, es_ES.UTF-8, ...), or, on Windows with none of\n"
     "them set, when the user's display language is Spanish; in English otherwise.\n"
     "\n"
     "Exit status: 0 every number valid, 1 at least one invalid or a record that could\n"
     "not be read, 2 usage error, 3 register or input/output error.\n"
     "\n"
     "Examples:\n"
     "  cuentas-cli check \"ES91 2100 0418 4502 0005 1332\"\n"
     "  cuentas-cli digits 2100 0418 0200051332\n"
     "  cuentas-cli iban < codes.txt > ibans.txt\n"
     "  cuentas-cli check --csv --column cuenta < clientes.csv > revisados.csv\n",
     "Uso: cuentas-cli ORDEN [OPCI\xD3N]... [N\xDAMERO]...\n"
     "\n"
     "Comprueba, calcula, convierte y diagnostica n\xFAmeros de cuenta espa\xF1oles: el\n"
     "c\xF3"
     "digo cuenta cliente de 20 cifras (entidad, oficina, 2 d\xEDgitos de control,\n"
     "cuenta) y el IBAN espa\xF1ol (ES, 2 d\xEDgitos de control, las 20 cifras). Un n\xFAmero\n"
     "puede llevar blancos y guiones, letras en may\xFAscula o min\xFAscula y la palabra IBAN\n"
     "delante; un \xAB?\xBB ocupa el lugar de una cifra ilegible. Ponga entre comillas un\n"
     "n\xFAmero que lleve blancos.\n"
     "\n"
     "\xD3rdenes:\n"
     "  check N\xDAMERO...     dice si cada n\xFAmero es v\xE1lido o qu\xE9 falla y d\xF3nde\n"
     "  digits ENTIDAD OFICINA CUENTA\n"
     "                      escribe los dos d\xEDgitos de control (las partes cortas se\n"
     "                      completan con ceros)\n"
     "  digits C\xD3"
     "DIGO...    escribe los dos d\xEDgitos de control de c\xF3"
     "digos de 20\n"
     "                      caracteres con ?? (o cualquier cifra) en su lugar\n"
     "  iban N\xDAMERO...      escribe el IBAN de cada n\xFAmero; uno no v\xE1lido es un error\n"
     "  ccc N\xDAMERO...       escribe las 20 cifras de cada n\xFAmero (un IBAN o un c\xF3"
     "digo)\n"
     "  format N\xDAMERO...    escribe cada n\xFAmero agrupado como en papel:\n"
     "                      ES91 2100 0418 4502 0005 1332 o 2100 0418 45 0200051332\n"
     "  bank C\xD3"
     "DIGO|N\xDAMERO...\n"
     "                      escribe el nombre de la entidad, si est\xE1 en activo o fue\n"
     "                      absorbida (y por qui\xE9n) y su BIC; un C\xD3"
     "DIGO de hasta 4\n"
     "                      cifras se completa con ceros\n"
     "\n"
     "Todas las \xF3rdenes comprueban antes cada n\xFAmero. Una cifra ilegible (\xAB?\xBB, una "
     "por\n"
     "parte) se recupera cuando los d\xEDgitos de control la determinan; el n\xFAmero cuenta\n"
     "entonces como v\xE1lido. Cuando fallan los d\xEDgitos de control, el mensaje nombra\n"
     "cada n\xFAmero a una errata de distancia (una cifra cambiada o dos cifras vecinas\n"
     "intercambiadas) que pasa todas las comprobaciones y cuya entidad figura en el\n"
     "registro: siempre para un IBAN, para un c\xF3"
     "digo cuando son tres como mucho; los\n"
     "d\xEDgitos de control del IBAN solos se aconsejan solo cuando nada m\xE1s encaja.\n"
     "Sin N\xDAMERO, o con -, los n\xFAmeros se leen de la entrada est\xE1ndar, uno por\n"
     "l\xEDnea, y cada resultado se escribe en cuanto se conoce. Los resultados van a la\n"
     "salida est\xE1ndar, uno por l\xEDnea; con digits, iban, ccc, format y bank, un n\xFAmero\n"
     "que falla deja su l\xEDnea vac\xED"
     "a y el motivo va a la salida de errores.\n"
     "\n"
     "Opciones:\n"
     "  --csv               lee y escribe CSV: las dem\xE1s columnas pasan sin cambios y\n"
     "                      se a\xF1"
     "aden las columnas status, compact, iban, entity,\n"
     "                      message, ccc\n"
     "  --column NOMBRE|N   la columna del n\xFAmero: un nombre de la cabecera o una\n"
     "                      posici\xF3n desde 1 (por omisi\xF3n, 1)\n"
     "  --separator C       el separador del CSV: un car\xE1"
     "cter, o tab (por omisi\xF3n, el\n"
     "                      m\xE1s frecuente entre coma, punto y coma y tabulador en la\n"
     "                      primera l\xEDnea)\n"
     "  --json              escribe un objeto JSON por l\xEDnea (tambi\xE9n para una l\xEDnea\n"
     "                      en blanco); los candidatos de un n\xFAmero que falla, en\n"
     "                      \"candidates\"\n"
     "  --table FICHERO     lee el registro de entidades de FICHERO en lugar de\n"
     "                      {1}\n"
     "  --strict            una entidad que no figura en el registro hace que el n\xFAmero\n"
     "                      no sea v\xE1lido\n"
     "  -h, --help          muestra esta ayuda y termina\n"
     "  -V, --version       muestra la versi\xF3n y la fecha del registro y termina\n"
     "\n"
     "Las l\xEDneas pueden acabar en LF, CR LF o un CR solo, cada l\xEDnea como quiera; cada\n"
     "l\xEDnea de resultado conserva el final de la suya. Una l\xEDnea o registro puede tener\n"
     "hasta 1048576 bytes: uno m\xE1s largo pasa sin cambios y sin comprobar (estado\n"
     "too-long).\n"
     "\n"
     "CSV: una primera l\xEDnea cuya columna del n\xFAmero no tiene ninguna cifra, o que no\n"
     "tiene esa columna ni ninguna cifra, es una cabecera (siempre, con --column\n"
     "NOMBRE) y recibe los nombres de las columnas de resultado. Se entienden las\n"
     "l\xEDneas en blanco, la marca de orden de bytes y los campos entre comillas (con\n"
     "separadores, comillas y saltos de l\xEDnea dentro). Unas comillas que no se cierran\n"
     "acaban su registro al final de su l\xEDnea, que se escribe con las comillas cerradas\n"
     "(estado unterminated-quote), y la l\xEDnea siguiente se lee de nuevo; un registro sin\n"
     "la columna del n\xFAmero recibe missing-field. Cada uno dice la l\xEDnea donde empez\xF3\n"
     "su registro. Una l\xEDnea err\xF3nea nunca detiene el proceso.\n"
     "\n"
     "Palabras de estado (CSV y JSON): valid, recovered, empty, country, chars, length,\n"
     "bank-branch-digit, account-digit, control-digits, iban-digits, ambiguous, no-fit,\n"
     "too-long, unterminated-quote, missing-field, blank (solo JSON); y, para un n\xFAmero\n"
     "v\xE1lido, los avisos unknown-bank (un error con --strict), absorbed-bank e\n"
     "inactive-bank.\n"
     "\n"
     "Los mensajes salen en espa\xF1ol cuando la primera variable definida de LC_ALL,\n"
     "LC_MESSAGES y LANG nombra una configuraci\xF3n regional espa\xF1ola (es, es_ES.UTF-8,\n"
     "...) o, en Windows sin ninguna de ellas, cuando el idioma de Windows del usuario es\n"
     "el espa\xF1ol; en ingl\xE9s en otro caso.\n"
     "\n"
     "C\xF3"
     "digo de salida: 0 todos los n\xFAmeros v\xE1lidos, 1 alguno no v\xE1lido o un registro\n"
     "que no se pudo leer, 2 error de uso, 3 error del registro o de entrada/salida.\n"
     "\n"
     "Ejemplos:\n"
     "  cuentas-cli check \"ES91 2100 0418 4502 0005 1332\"\n"
     "  cuentas-cli digits 2100 0418 0200051332\n"
     "  cuentas-cli iban < codigos.txt > ibanes.txt\n"
     "  cuentas-cli check --csv --column cuenta < clientes.csv > revisados.csv\n"},
};
static_assert(std::size(kCatalog) == kTextCount);

} // namespace

Language languageOfUser() {
    return operatingSystem().messageLanguage() == "es" ? Language::Spanish : Language::English;
}

Messages::Messages(Language language) : language_(language) {
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const Translations& t = kCatalog[i];
        texts_[i] = utf8FromWindows1252(language == Language::Spanish ? t.spanish : t.english);
        const std::string_view pattern = texts_[i];
        std::size_t done = 0;
        for (std::size_t at = pattern.find('{'); at != std::string_view::npos;
             at = pattern.find('{', at + 1)) {
            if (at + 2 >= pattern.size() || pattern[at + 2] != '}' || pattern[at + 1] < '1' ||
                pattern[at + 1] > '9') {
                continue;
            }
            pieces_[i].push_back(
                {static_cast<std::uint32_t>(done), static_cast<std::uint32_t>(at - done), -1});
            pieces_[i].push_back(
                {static_cast<std::uint32_t>(at), 3, static_cast<int>(pattern[at + 1] - '1')});
            done = at + 3;
            at += 2;
        }
        pieces_[i].push_back({static_cast<std::uint32_t>(done),
                              static_cast<std::uint32_t>(pattern.size() - done), -1});
    }
}

void Messages::append(TextBuilder& out, Text id,
                      std::initializer_list<std::string_view> arguments) const {
    const std::size_t i = static_cast<std::size_t>(id);
    const std::string& pattern = texts_[i];
    for (const Piece& piece : pieces_[i]) {
        // A placeholder without its argument stays as written.
        if (piece.argument >= 0 && static_cast<std::size_t>(piece.argument) < arguments.size()) {
            out.append(arguments.begin()[piece.argument]);
        } else {
            out.append(std::string_view(pattern.data() + piece.start, piece.size));
        }
    }
}

void Messages::appendPiece(TextBuilder& out, Text id, std::size_t placeholder) const {
    const std::size_t i = static_cast<std::size_t>(id);
    const std::vector<Piece>& pieces = pieces_[i];
    // Literal pieces and placeholders alternate: the literal after the k-th is at 2k.
    if (2 * placeholder < pieces.size()) {
        const Piece& piece = pieces[2 * placeholder];
        out.append(std::string_view(texts_[i].data() + piece.start, piece.size));
    }
}

std::string Messages::format(Text id, std::initializer_list<std::string_view> arguments) const {
    TextBuilder out;
    append(out, id, arguments);
    return std::string(out.view());
}

} // namespace cuentas::cli
