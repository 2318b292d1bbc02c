#pragma once
// One cell of a worksheet: a type and its value.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

class XlsCell {
public:
    enum Type { Undefined = 0, Integer = 1, Double = 2, String = 3, WideString = 4 };

    Type GetType() const { return static_cast<Type>(value_.index()); }

    // An empty text makes the cell Undefined.
    void SetWideText(std::u16string_view text);
    void SetText(std::string_view text8bit);
    void SetNumber(double value) { value_ = value; }
    void SetInteger(std::int32_t value) { value_ = value; }

    // The value of a cell of the matching type; other types give 0 or an empty text.
    std::int32_t IntegerValue() const;
    double DoubleValue() const;
    const std::string& Text() const;
    const std::u16string& WideText() const;

private:
    std::variant<std::monostate, std::int32_t, double, std::string, std::u16string> value_;
};
