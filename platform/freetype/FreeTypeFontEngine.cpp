// The FreeType and fontconfig font engine arrives here.
