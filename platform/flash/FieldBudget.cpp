#include "platform/flash/FieldBudget.h"

#include <algorithm>

namespace ombrevale {

void FieldBudget::Replace(int places) {
  const int64_t most = earned_.empty() ? 0 : *std::max_element(earned_.begin(), earned_.end());
  earned_.assign(static_cast<size_t>(places), most);
}

}  // namespace ombrevale
