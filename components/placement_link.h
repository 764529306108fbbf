// A component that saves and restores with a form's placement (recent-file lists).
#pragma once

class TFormPlacement;

class TPlacementLink {
public:
  virtual ~TPlacementLink() = default;
  virtual void PlacementRestored(TFormPlacement& placement) = 0;
  virtual void PlacementSaved(TFormPlacement& placement) = 0;
  // The placement is being freed.
  virtual void PlacementGone(TFormPlacement& placement) = 0;
};
