// TSysHotKey: the list of system-wide hot keys of the global actions. While the list is active
// every key in it is registered with the desktop; a press reports the key's place in the list.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class THotKeyService;

// The 102 keys a hot key may use, by key index (0: none); the index of a virtual key, 0 for a
// key outside the table.
inline constexpr int kHotKeyTableSize = 102;
uint16_t HotKeyVirtualKey(int keyIndex);
int HotKeyIndexOf(uint16_t virtualKey);

class TSysHotKey {
public:
  struct TRecord {
    unsigned Modifiers;  // bit 0 Shift, 1 Ctrl, 2 Alt, 3 Win
    int KeyIndex;
    bool Registered;
  };

  // `service` registers the keys; without one (no X11 display) nothing is ever registered.
  explicit TSysHotKey(std::unique_ptr<THotKeyService> service);
  ~TSysHotKey();

  // Appends a key, registered at once while the list is active.
  void Add(int keyIndex, unsigned modifiers);
  // Unregisters and forgets every key.
  void Clear();
  bool Active() const { return active_; }
  // True registers every key under its place in the list; false unregisters them.
  void SetActive(bool active);
  const std::vector<TRecord>& Records() const { return records_; }
  bool HasService() const { return service_ != nullptr; }

  // A registered key was pressed: its place in the list.
  std::function<void(int index)> OnHotKey;

private:
  void Register(int index);
  void Unregister(int index);
  std::unique_ptr<THotKeyService> service_;
  std::vector<TRecord> records_;
  bool active_ = false;
};
