#include "shell/sys_hot_key.h"

#include <array>

#include "platform/gui/hot_key_service.h"

namespace {

constexpr std::array<uint16_t, kHotKeyTableSize> kKeys = [] {
  std::array<uint16_t, kHotKeyTableSize> keys{};
  const uint16_t named[] = {0x03, 0x08, 0x09, 0x0C, 0x0D, 0x13, 0x14, 0x1B,  // Cancel .. Escape
                            0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,  // Space .. Right
                            0x28, 0x29, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F};      // Down .. Help
  int i = 1;
  for (uint16_t key : named) keys[size_t(i++)] = key;
  for (uint16_t key = '0'; key <= '9'; ++key) keys[size_t(i++)] = key;
  for (uint16_t key = 'A'; key <= 'Z'; ++key) keys[size_t(i++)] = key;
  for (uint16_t key = 0x60; key <= 0x6F; ++key) keys[size_t(i++)] = key;  // numeric pad
  for (uint16_t key = 0x70; key <= 0x87; ++key) keys[size_t(i++)] = key;  // F1 .. F24
  keys[size_t(i++)] = 0x90;  // Num Lock
  keys[size_t(i++)] = 0x91;  // Scroll Lock
  return keys;
}();

}  // namespace

uint16_t HotKeyVirtualKey(int keyIndex) {
  return keyIndex > 0 && keyIndex < kHotKeyTableSize ? kKeys[size_t(keyIndex)] : 0;
}

int HotKeyIndexOf(uint16_t virtualKey) {
  for (int i = 1; i < kHotKeyTableSize; ++i)
    if (kKeys[size_t(i)] == virtualKey) return i;
  return 0;
}

TSysHotKey::TSysHotKey(std::unique_ptr<THotKeyService> service) : service_(std::move(service)) {
  if (service_)
    service_->OnPressed = [this](int id) {
      if (active_ && id >= 0 && id < int(records_.size()) && OnHotKey) OnHotKey(id);
    };
}

TSysHotKey::~TSysHotKey() { Clear(); }

void TSysHotKey::Add(int keyIndex, unsigned modifiers) {
  records_.push_back({modifiers, keyIndex, false});
  if (active_) Register(int(records_.size()) - 1);
}

void TSysHotKey::Clear() {
  for (int i = 0; i < int(records_.size()); ++i) Unregister(i);
  records_.clear();
}

void TSysHotKey::SetActive(bool active) {
  active_ = active;
  for (int i = 0; i < int(records_.size()); ++i) {
    if (active)
      Register(i);
    else
      Unregister(i);
  }
}

void TSysHotKey::Register(int index) {
  TRecord& record = records_[size_t(index)];
  if (record.Registered || !service_) return;
  // A key another program holds stays unregistered, without a message.
  record.Registered = service_->Register(index, HotKeyVirtualKey(record.KeyIndex), record.Modifiers);
}

void TSysHotKey::Unregister(int index) {
  TRecord& record = records_[size_t(index)];
  if (!record.Registered) return;
  service_->Unregister(index);
  record.Registered = false;
}
