#include "Limits.h"

namespace medrec::tp {

const char *flavourName(Flavour f)
{
    switch (f) {
    case Flavour::Fml:
        return "FML";
    case Flavour::Fml32:
        return "FML32";
    case Flavour::String:
        return "STRING";
    case Flavour::None:
        break;
    }
    return "";
}

std::string withThousands(std::size_t n)
{
    std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

} // namespace medrec::tp
