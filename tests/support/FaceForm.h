#pragma once

// The shaped window of the cases on the desktop ports: a form of the application at a screen
// point with a TfcImageForm that shows one of the clock's faces, its window cut to the face's
// outline and shown.

#include "base/Point.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "shaped/fcImageForm.h"
#include "tests/e2e/ClockFace.h"
#include "tests/support/FaceArt.h"

#include <algorithm>

struct TFaceForm
{
    TFaceForm(TApplication& App, TPoint Origin, int FaceId)
        : Face(LoadBitmapResource(FaceId)), Outline(OutlineOf(Face)), Form(new TForm(&App)),
          Image(new TfcImageForm(Form))
    {
        Form->SetBounds(Origin.X, Origin.Y, 400, 200);
        Image->SetParent(Form);
        TPicture Picture;
        Picture.SetBitmap(Face);
        Image->SetPicture(&Picture);
        Image->ApplyPictureRegion();
        Form->Show();
    }

    // The widest rectangle of the outline (client coordinates): room for a drag along it.
    TRect WidestBand() const
    {
        const std::span<const TRect> Rects = Outline.GetRects();
        return *std::max_element(Rects.begin(), Rects.end(), [](const TRect& A, const TRect& B) {
            return A.Width() < B.Width();
        });
    }

    TBitmap Face;
    TRegion Outline;
    TForm* Form;
    TfcImageForm* Image;
};
