// Collects the device's log lines while attached, instead of printing them.
#pragma once

#include <irrlicht.h>

#include <string>
#include <vector>

namespace testing_support {

class LogCapture : public irr::IEventReceiver {
public:
  // Becomes the device's receiver; log events are kept, all others go on to
  // the receiver that was there before.
  explicit LogCapture(irr::IrrlichtDevice *device);
  ~LogCapture() override;

  bool OnEvent(const irr::SEvent &event) override;
  bool Contains(const std::string &text) const;
  const std::vector<std::string> &Lines() const { return lines; }

private:
  irr::IrrlichtDevice *device;
  irr::IEventReceiver *previous;
  std::vector<std::string> lines;
};

} // namespace testing_support
