#pragma once

class TForm;

// Where the clock's secondary windows open: next to the reference window (the clock), on the
// primary screen. Each sets only the placed form's Left and Top, never its size, and does nothing
// when either form is null. A form larger than the screen may end with a negative edge.

// Centred over Reference, unless Reference stays on top: then above it when there is room for
// the whole form, else below it, 10 pixels away.
void PlaceNearForm(TForm* Reference, TForm* Form);
// Centred over Reference; nudged 15 pixels right or down when the two are nearly as wide or as
// high (so that it does not hide the reference exactly); kept 50 pixels clear of the screen's
// bottom and inside its right edge.
void CenterOverForm(TForm* Reference, TForm* Form);
// As CenterOverForm, then its bottom Gap pixels above Reference's top (not above the screen).
void PlaceAboveForm(TForm* Reference, TForm* Form, int Gap);
// As CenterOverForm, then its top Gap pixels below Reference's bottom (not below the screen).
void PlaceBelowForm(TForm* Reference, TForm* Form, int Gap);
