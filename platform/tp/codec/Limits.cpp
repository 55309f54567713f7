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

} // namespace medrec::tp
