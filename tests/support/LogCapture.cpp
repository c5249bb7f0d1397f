#include "tests/support/LogCapture.h"

namespace testing_support {

LogCapture::LogCapture(irr::IrrlichtDevice *device) : device(device), previous(device->getEventReceiver()) {
  device->setEventReceiver(this);
}

LogCapture::~LogCapture() { device->setEventReceiver(previous); }

bool LogCapture::OnEvent(const irr::SEvent &event) {
  if (event.EventType == irr::EET_LOG_TEXT_EVENT) {
    lines.emplace_back(event.LogEvent.Text);
    return true;
  }
  return previous && previous->OnEvent(event);
}

bool LogCapture::Contains(const std::string &text) const {
  for (const std::string &line : lines)
    if (line.find(text) != std::string::npos)
      return true;
  return false;
}

} // namespace testing_support
