#include "app/PageAddress.h"

#include "platform/Complaint.h"
#include "platform/calendar/FixedStart.h"
#include "platform/scale/PageScale.h"

namespace ombrevale {
namespace {

std::optional<uint32_t> ReadSeed(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long long value = std::stoull(text);
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(value);
}

// Takes the value of the setting `name` with `read` into `into`; a value given that `read` refuses
// is warned of, saying what it should be and what is used instead.
template <class T, class Read>
void Take(const std::function<std::string(const char*)>& setting, const char* name, Read read,
          std::optional<T>& into, const std::string& shouldBe, const char* instead,
          std::vector<std::string>& warnings) {
  const std::string value = setting(name);
  if (value.empty()) return;
  into = read(value);
  if (into) return;
  warnings.push_back(Complaint(std::string("the address's ") + name + " '" + value + "' is not " +
                               shouldBe + "; " + instead + "."));
}

}  // namespace

PageAddress ReadPageAddress(const std::function<std::string(const char*)>& setting) {
  PageAddress address;
  Take(setting, "seed", ReadSeed, address.seed, "a whole number from 0 to 4294967295",
       "the vision's draws are left to chance", address.warnings);
  Take(setting, "start", ReadDateTime, address.start, "a date and time such as 2026/12/07 6:38:00",
       "the clock starts from the present", address.warnings);
  Take(
      setting, "scale", [](const std::string& text) { return ReadPageScale(text); }, address.scale,
      "a whole number from " + std::to_string(kMinPageScale) + " to " +
          std::to_string(kMaxPageScale),
      "the page takes the largest factor that fits the window", address.warnings);
  return address;
}

}  // namespace ombrevale
