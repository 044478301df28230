#pragma once

class C3DProjection;
class CBox;

// Sets the box's face nibbles for the projection's view: value 2 on faces that look
// toward the viewer and value 1 on those that take part in the depth order. Faces where
// an element's boxes join (a direction box against the body, against its continuation)
// lose value 1, and may change value 1 of the element's body box as well.
void UpdateFaceVisibility(const C3DProjection& projection, CBox& box);
