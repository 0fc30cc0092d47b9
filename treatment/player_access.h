// The player window without a mouse and through a screen reader.
//
// Keys: Space is Play, or Pause while a treatment plays; S stops, N skips to
// the next frequency, H holds; Escape closes the window.
// Every control that can be used or read gets an accessible name and, where
// it helps, a description; the sliders describe their value as the user
// hears it (percent, or the treatment length as time text).
#pragma once

namespace helicordia {

class Player;

void InstallPlayerAccess(Player &player);
// The accessible names and descriptions, in the current language.
void DescribePlayer(Player &player);

} // namespace helicordia
