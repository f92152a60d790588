// The eight animated scenes, by family; drawScenes() in frame.cpp holds the
// order they are drawn in. Each advances its own animators by one step and
// draws; each starts from the identity model-view matrix it loads itself and
// leaves texturing off.
#pragma once

// Squares that drift, pulse and spin (squares.cpp).
void modelA_move();
void modelA_scal();
void modelA_rots();
void modelA_moveScaleRotate();

// Translucent squares and circle outlines that fade in and out (translucency.cpp).
void modelB_alph();
void modelC_alph();

// Textured squares that fade, cross-fade, grow and shrink, spin and drift (textured.cpp).
void modelD_xfade();
void modelE_xfade();
