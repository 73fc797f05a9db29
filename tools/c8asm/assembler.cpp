// CHIP-8 assembler core.
//
// Two passes over the text: the first places labels (every statement has a
// size that does not depend on any value), the second evaluates operands
// and emits bytes. Only the second pass reports errors, so each is listed
// once, with its line; a line stops at its first error.
#include "tools/c8asm/assembler.h"

#include <cctype>
#include <map>

namespace {

const int ORIGIN = 0x200;
const int MEMORY_END = 0x1000;
const long long VALUE_LIMIT = 1LL << 40;  // keeps expression arithmetic far from overflow

struct Symbol {
    long long value;
    int line;
};

enum OperandKind { REG, IREG, IND, DT, ST, KEY, FONT, BCD, VALUE };

struct Operand {
    OperandKind kind;
    int reg;
    long long value;
};

struct Assembler {
    int pass = 1;
    int line = 0;
    int address = ORIGIN;
    bool lineerror = false;
    bool overflowed = false;
    std::map<std::string, Symbol> symbols;
    std::vector<unsigned char> image;
    std::vector<c8asm_error> errors;

    void error(const std::string &message)
    {
        if (pass == 2 && !lineerror) errors.push_back({line, message});
        lineerror = true;
    }

    void emit(int byte)
    {
        if (address >= MEMORY_END) {
            if (!overflowed) {
                error("program does not fit in memory (more than 3584 bytes)");
                overflowed = pass == 2;
            }
            return;
        }
        address++;
        if (pass == 2) image.push_back((unsigned char)byte);
    }

    void emit16(int word)
    {
        emit(word >> 8);
        emit(word & 0xFF);
    }
};

std::string lower(std::string s)
{
    for (char &c : s) c = (char)tolower((unsigned char)c);
    return s;
}

std::string trim(const std::string &s)
{
    size_t a = 0, b = s.size();
    while (a < b && isspace((unsigned char)s[a])) a++;
    while (b > a && isspace((unsigned char)s[b - 1])) b--;
    return s.substr(a, b - a);
}

bool isnamestart(char c) { return isalpha((unsigned char)c) || c == '_'; }
bool isnamechar(char c) { return isalnum((unsigned char)c) || c == '_'; }

int registernumber(const std::string &word)
{
    std::string w = lower(word);
    if (w.size() != 2 || w[0] != 'v' || !isxdigit((unsigned char)w[1])) return -1;
    return isdigit((unsigned char)w[1]) ? w[1] - '0' : w[1] - 'a' + 10;
}

bool isreserved(const std::string &name)
{
    static const char *const words[] = {"i", "dt", "st", "k", "f", "b"};
    if (registernumber(name) >= 0) return true;
    std::string w = lower(name);
    for (const char *r : words)
        if (w == r) return true;
    return false;
}

// Recursive-descent evaluator over one operand's text, with C precedence:
// | & << >> + - * / % and unary - ~, parentheses, names and numbers
// (decimal, 0x hex, 0b binary).
struct Expression {
    Assembler &as;
    const std::string &text;
    size_t at = 0;
    bool ok = true;

    Expression(Assembler &a, const std::string &t) : as(a), text(t) {}

    void fail(const std::string &message)
    {
        if (ok) as.error(message);
        ok = false;
    }
    void skipspace()
    {
        while (at < text.size() && isspace((unsigned char)text[at])) at++;
    }
    bool accept(const char *op)
    {
        skipspace();
        size_t n = 0;
        while (op[n]) n++;
        if (text.compare(at, n, op) != 0) return false;
        at += n;
        return true;
    }
    long long checked(long long v)
    {
        if (v <= -VALUE_LIMIT || v >= VALUE_LIMIT) {
            fail("value out of range");
            return 0;
        }
        return v;
    }
    // Operands stay below the limit, but their product need not fit 64 bits.
    long long multiply(long long a, long long b)
    {
        long long v;
        if (__builtin_mul_overflow(a, b, &v)) {
            fail("value out of range");
            return 0;
        }
        return checked(v);
    }

    long long number()
    {
        int base = 10;
        if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) base = 16, at += 2;
        else if (text.compare(at, 2, "0b") == 0 || text.compare(at, 2, "0B") == 0) base = 2, at += 2;
        long long v = 0;
        int digits = 0;
        while (at < text.size() && isalnum((unsigned char)text[at])) {
            char c = (char)tolower((unsigned char)text[at]);
            int d = isdigit((unsigned char)c) ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
            if (d >= base) {
                fail("bad digit '" + std::string(1, text[at]) + "' in number");
                return 0;
            }
            v = checked(v * base + d);
            if (!ok) return 0;
            at++, digits++;
        }
        if (!digits) fail("number has no digits");
        return v;
    }

    long long primary()
    {
        skipspace();
        if (at >= text.size()) {
            fail("value missing");
            return 0;
        }
        char c = text[at];
        if (accept("(")) {
            long long v = parse();
            if (!accept(")")) fail("missing ')'");
            return v;
        }
        if (accept("-")) return checked(-primary());
        if (accept("~")) return checked(~primary());
        if (isdigit((unsigned char)c)) return number();
        if (isnamestart(c)) {
            size_t start = at;
            while (at < text.size() && isnamechar(text[at])) at++;
            std::string name = text.substr(start, at - start);
            auto found = as.symbols.find(name);
            if (found != as.symbols.end()) return found->second.value;
            if (isreserved(name)) fail("register '" + name + "' cannot be used in a value");
            else if (as.pass == 2) fail("undefined name '" + name + "'");
            return 0;
        }
        fail("unexpected '" + std::string(1, c) + "'");
        return 0;
    }
    long long product()
    {
        long long v = primary();
        while (ok) {
            if (accept("*")) v = multiply(v, primary());
            else if (accept("/") || accept("%")) {
                bool divide = text[at - 1] == '/';
                long long d = primary();
                if (d == 0) {
                    fail("division by zero");
                    return 0;
                }
                v = divide ? v / d : v % d;
            } else break;
        }
        return v;
    }
    long long sum()
    {
        long long v = product();
        while (ok) {
            if (accept("+")) v = checked(v + product());
            else if (accept("-")) v = checked(v - product());
            else break;
        }
        return v;
    }
    long long shift()
    {
        long long v = sum();
        while (ok) {
            bool left = accept("<<");
            if (!left && !accept(">>")) break;
            long long n = sum();
            if (n < 0 || n > 32) {
                fail("shift count out of range");
                return 0;
            }
            v = left ? multiply(v, 1LL << n) : v >> n;
        }
        return v;
    }
    long long conjunction()
    {
        long long v = shift();
        while (ok && accept("&")) v &= shift();
        return v;
    }
    long long parse()
    {
        long long v = conjunction();
        while (ok && accept("|")) v |= conjunction();
        return v;
    }
};

bool evaluate(Assembler &as, const std::string &text, long long &value)
{
    Expression e(as, text);
    value = e.parse();
    e.skipspace();
    if (e.ok && e.at < text.size()) e.fail("unexpected '" + text.substr(e.at) + "'");
    return e.ok;
}

bool operand(Assembler &as, const std::string &text, Operand &op)
{
    std::string w = lower(text);
    op = {VALUE, registernumber(w), 0};
    if (op.reg >= 0) op.kind = REG;
    else if (w == "i") op.kind = IREG;
    else if (w == "[i]") op.kind = IND;
    else if (w == "dt") op.kind = DT;
    else if (w == "st") op.kind = ST;
    else if (w == "k") op.kind = KEY;
    else if (w == "f") op.kind = FONT;
    else if (w == "b") op.kind = BCD;
    else return evaluate(as, text, op.value);
    return true;
}

// Splits "a, b, c" at commas; an empty item is kept so it can be reported.
std::vector<std::string> splitoperands(const std::string &text)
{
    std::vector<std::string> items;
    if (trim(text).empty()) return items;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); i++) {
        if (i == text.size() || text[i] == ',') {
            items.push_back(trim(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return items;
}

int byteof(Assembler &as, long long v)
{
    if (v < -128 || v > 255) as.error("value " + std::to_string(v) + " does not fit in a byte");
    return (int)(v & 0xFF);
}

int addressof(Assembler &as, long long v)
{
    if (v < 0 || v > 0xFFF) as.error("address " + std::to_string(v) + " is outside 0-0xFFF");
    return (int)(v & 0xFFF);
}

void definename(Assembler &as, const std::string &name, long long value)
{
    if (isreserved(name)) {
        as.error("'" + name + "' is a register name");
        return;
    }
    auto found = as.symbols.find(name);
    if (found != as.symbols.end() && found->second.line != as.line) {
        as.error("'" + name + "' already defined on line " + std::to_string(found->second.line));
        return;
    }
    as.symbols[name] = {value, as.line};
}

void spriterow(Assembler &as, const std::string &pattern)
{
    static const char BADROW[] = "a sprite row has 1 to 8 pixels of '#' '.' '1' '0'";
    if (pattern.empty() || pattern.size() > 8) {
        as.error(BADROW);
        as.emit(0);
        return;
    }
    int bits = 0;
    for (size_t i = 0; i < pattern.size(); i++) {
        char c = pattern[i];
        if (c == '#' || c == '1') bits |= 0x80 >> i;
        else if (c != '.' && c != '0') as.error(BADROW);
    }
    as.emit(bits);
}

void data(Assembler &as, const std::vector<std::string> &items, bool words)
{
    if (items.empty()) as.error("data needs at least one value");
    for (const std::string &item : items) {
        long long v = 0;
        if (item.empty()) as.error("empty value in list");
        else evaluate(as, item, v);
        if (words) {
            if (v < -32768 || v > 65535) as.error("value " + std::to_string(v) + " does not fit in a word");
            as.emit16((int)(v & 0xFFFF));
        } else {
            as.emit(byteof(as, v));
        }
    }
}

void instruction(Assembler &as, const std::string &mnemonic, const std::string &rest)
{
    std::string m = lower(mnemonic);
    if (m == "db") return data(as, splitoperands(rest), false);
    if (m == "dw") return data(as, splitoperands(rest), true);
    if (m == "row") return spriterow(as, trim(rest));

    std::vector<std::string> texts = splitoperands(rest);
    Operand ops[3] = {};
    size_t n = texts.size();
    bool parsed = true;
    for (size_t i = 0; i < n && i < 3; i++) {
        if (texts[i].empty()) {
            as.error("empty operand");
            parsed = false;
        } else if (!operand(as, texts[i], ops[i])) {
            parsed = false;
        }
    }
    // Every instruction is two bytes, whatever went wrong in it.
    if (!parsed || n > 3) {
        if (n > 3) as.error("too many operands");
        return as.emit16(0);
    }

    auto shape = [&](size_t count, OperandKind a, OperandKind b = VALUE, OperandKind c = VALUE) {
        if (n != count) return false;
        OperandKind k[3] = {a, b, c};
        for (size_t i = 0; i < count; i++)
            if (ops[i].kind != k[i]) return false;
        return true;
    };
    int x = ops[0].reg & 0xF, y = ops[1].reg & 0xF;
    int word = -1;

    if (m == "cls" && n == 0) word = 0x00E0;
    else if (m == "ret" && n == 0) word = 0x00EE;
    else if (m == "sys" && shape(1, VALUE)) word = addressof(as, ops[0].value);
    else if (m == "jp" && shape(1, VALUE)) word = 0x1000 | addressof(as, ops[0].value);
    else if (m == "jp" && shape(2, REG, VALUE) && ops[0].reg == 0) word = 0xB000 | addressof(as, ops[1].value);
    else if (m == "call" && shape(1, VALUE)) word = 0x2000 | addressof(as, ops[0].value);
    else if (m == "se" && shape(2, REG, VALUE)) word = 0x3000 | x << 8 | byteof(as, ops[1].value);
    else if (m == "se" && shape(2, REG, REG)) word = 0x5000 | x << 8 | y << 4;
    else if (m == "sne" && shape(2, REG, VALUE)) word = 0x4000 | x << 8 | byteof(as, ops[1].value);
    else if (m == "sne" && shape(2, REG, REG)) word = 0x9000 | x << 8 | y << 4;
    else if (m == "ld" && shape(2, REG, VALUE)) word = 0x6000 | x << 8 | byteof(as, ops[1].value);
    else if (m == "ld" && shape(2, REG, REG)) word = 0x8000 | x << 8 | y << 4;
    else if (m == "ld" && shape(2, IREG, VALUE)) word = 0xA000 | addressof(as, ops[1].value);
    else if (m == "ld" && shape(2, REG, DT)) word = 0xF007 | x << 8;
    else if (m == "ld" && shape(2, REG, KEY)) word = 0xF00A | x << 8;
    else if (m == "ld" && shape(2, DT, REG)) word = 0xF015 | y << 8;
    else if (m == "ld" && shape(2, ST, REG)) word = 0xF018 | y << 8;
    else if (m == "ld" && shape(2, FONT, REG)) word = 0xF029 | y << 8;
    else if (m == "ld" && shape(2, BCD, REG)) word = 0xF033 | y << 8;
    else if (m == "ld" && shape(2, IND, REG)) word = 0xF055 | y << 8;
    else if (m == "ld" && shape(2, REG, IND)) word = 0xF065 | x << 8;
    else if (m == "add" && shape(2, REG, VALUE)) word = 0x7000 | x << 8 | byteof(as, ops[1].value);
    else if (m == "add" && shape(2, REG, REG)) word = 0x8004 | x << 8 | y << 4;
    else if (m == "add" && shape(2, IREG, REG)) word = 0xF01E | y << 8;
    else if (m == "or" && shape(2, REG, REG)) word = 0x8001 | x << 8 | y << 4;
    else if (m == "and" && shape(2, REG, REG)) word = 0x8002 | x << 8 | y << 4;
    else if (m == "xor" && shape(2, REG, REG)) word = 0x8003 | x << 8 | y << 4;
    else if (m == "sub" && shape(2, REG, REG)) word = 0x8005 | x << 8 | y << 4;
    else if (m == "subn" && shape(2, REG, REG)) word = 0x8007 | x << 8 | y << 4;
    else if (m == "shr" && (shape(1, REG) || shape(2, REG, REG))) word = 0x8006 | x << 8 | (n == 2 ? y << 4 : 0);
    else if (m == "shl" && (shape(1, REG) || shape(2, REG, REG))) word = 0x800E | x << 8 | (n == 2 ? y << 4 : 0);
    else if (m == "rnd" && shape(2, REG, VALUE)) word = 0xC000 | x << 8 | byteof(as, ops[1].value);
    else if (m == "drw" && shape(3, REG, REG, VALUE)) {
        if (ops[2].value < 0 || ops[2].value > 15) as.error("sprite height must be 0-15");
        word = 0xD000 | x << 8 | y << 4 | (int)(ops[2].value & 0xF);
    } else if (m == "skp" && shape(1, REG)) word = 0xE09E | x << 8;
    else if (m == "sknp" && shape(1, REG)) word = 0xE0A1 | x << 8;

    if (word < 0) {
        static const char *const known[] = {"cls", "ret", "sys", "jp", "call", "se", "sne", "ld", "add", "or",
                                            "and", "xor", "sub", "subn", "shr", "shl", "rnd", "drw", "skp", "sknp"};
        bool isknown = false;
        for (const char *k : known) isknown |= m == k;
        as.error(isknown ? "wrong operands for '" + m + "'" : "unknown instruction '" + mnemonic + "'");
        word = 0;
    }
    as.emit16(word);
}

void assembleline(Assembler &as, std::string text)
{
    size_t comment = text.find(';');
    if (comment != std::string::npos) text.erase(comment);
    text = trim(text);

    // Leading "name:" defines a label; a statement may follow on the line.
    size_t end = 0;
    while (end < text.size() && isnamechar(text[end])) end++;
    if (end > 0 && isnamestart(text[0]) && end < text.size() && text[end] == ':') {
        definename(as, text.substr(0, end), as.address);
        text = trim(text.substr(end + 1));
        end = 0;
        while (end < text.size() && isnamechar(text[end])) end++;
    }
    if (text.empty()) return;

    std::string word = text.substr(0, end);
    std::string rest = trim(text.substr(end));
    if (!rest.empty() && rest[0] == '=') {
        if (word.empty() || !isnamestart(word[0])) return as.error("a constant needs a name");
        long long value = 0;
        if (evaluate(as, rest.substr(1), value)) definename(as, word, value);
        return;
    }
    if (word.empty()) return as.error("expected an instruction, found '" + text + "'");
    instruction(as, word, rest);
}

void runpass(Assembler &as, const std::string &source)
{
    as.address = ORIGIN;
    as.line = 0;
    size_t start = 0;
    while (start <= source.size()) {
        size_t eol = source.find('\n', start);
        if (eol == std::string::npos) eol = source.size();
        as.line++;
        as.lineerror = false;
        assembleline(as, source.substr(start, eol - start));
        start = eol + 1;
    }
}

}  // namespace

int c8asm_assemble(const std::string &source, std::vector<unsigned char> &image, std::vector<c8asm_error> &errors)
{
    Assembler as;
    // The first run places every label; the second lets constants that name
    // later labels take their final values before anything is emitted.
    runpass(as, source);
    runpass(as, source);
    as.pass = 2;
    as.overflowed = false;
    runpass(as, source);
    errors = as.errors;
    if (!errors.empty()) {
        image.clear();
        return 0;
    }
    image = as.image;
    return 1;
}
