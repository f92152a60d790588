// The eight animated scenes, by family; drawScenes() in frame.cpp holds the
// order they are drawn in. Each advances its own animators by one step and
// draws; each starts from the identity model-view matrix it loads itself and
// leaves texturing off.
#pragma once

// Squares that drift, pulse and spin (squares.cpp).
void driftingSquare();
void pulsingSquares();
void spinningSquares();
void tumblingSquare();

// Translucent squares and circle outlines that fade in and out (translucency.cpp).
void fadingStaircase();
void fadingCircle();

// Textured squares that fade, cross-fade, grow and shrink, spin and drift (textured.cpp).
void texturedSquares();
void rectTexturedSquares();
