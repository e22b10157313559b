#pragma once

namespace quorvel {

// The vertical part of the Gaussian plume for a release at height h seen at
// receptor height z: direct and ground-reflected terms, plus the images of a
// reflecting mixing lid when there is one. Once the plume is much deeper than
// the lid it is taken as evenly mixed below it.
class VerticalTerm {
  public:
    VerticalTerm(double release_height, double receptor_height, bool has_lid, double mixing_height);

    // The factor V for vertical spread sigma_z (m); the plume's vertical
    // density at the receptor is V / (sqrt(2 pi) sigma_z).
    double At(double sigma_z) const;

    friend bool operator==(const VerticalTerm&, const VerticalTerm&) = default;

  private:
    double h_;
    double z_;
    bool has_lid_;
    double zi_;
};

}  // namespace quorvel
