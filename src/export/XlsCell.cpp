#include "export/XlsCell.h"

namespace {

template <typename T> const T& Empty() {
    static const T empty{};
    return empty;
}

} // namespace

void XlsCell::SetWideText(std::u16string_view text) {
    if (text.empty())
        value_ = std::monostate{};
    else
        value_ = std::u16string(text);
}

void XlsCell::SetText(std::string_view text8bit) {
    if (text8bit.empty())
        value_ = std::monostate{};
    else
        value_ = std::string(text8bit);
}

std::int32_t XlsCell::IntegerValue() const {
    const auto* v = std::get_if<std::int32_t>(&value_);
    return v ? *v : 0;
}

double XlsCell::DoubleValue() const {
    const auto* v = std::get_if<double>(&value_);
    return v ? *v : 0.0;
}

const std::string& XlsCell::Text() const {
    const auto* v = std::get_if<std::string>(&value_);
    return v ? *v : Empty<std::string>();
}

const std::u16string& XlsCell::WideText() const {
    const auto* v = std::get_if<std::u16string>(&value_);
    return v ? *v : Empty<std::u16string>();
}
