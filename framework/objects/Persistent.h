#pragma once

#include "framework/objects/ClassDeclaration.h"
#include "framework/objects/Object.h"

#include <string>
#include <string_view>

class TFiler;

// An object whose state can be copied from another (Assign) and stored in a form description:
// its published properties, plus whatever DefineProperties adds.
class TPersistent : public TObject
{
    PUBLISHED_CLASS(TPersistent, TObject)

    // Copies Source into this object. A class that can take the value of another overrides
    // Assign (or the source's AssignTo); otherwise EConvertError. A null Source is passed on,
    // for classes in which that means "empty".
    virtual void Assign(const TPersistent* Source);

    // A sub-object that can stand for an embedded resource (a picture, an image strip) is
    // written as that reference alone: `Picture = 71` or `Picture = FaceNixieLarge`. Reference
    // is the identifier or the decimal number; false when it names nothing this object takes.
    virtual bool ReadReference(std::string_view Reference);
    // The identifier or number to write instead of the sub-properties, or empty.
    virtual std::string GetReference() const;

protected:
    virtual void AssignTo(TPersistent& Dest) const;
    // Adds the properties that are not published; a subclass calls the inherited one first.
    virtual void DefineProperties(TFiler& Filer);
    [[noreturn]] void AssignError(const TPersistent* Source) const;

private:
    friend class TFormReader;
    friend class TFormWriter;
};
