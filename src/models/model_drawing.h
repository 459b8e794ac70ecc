// Drawing the four part models into the 3D frame, part by part. A model hit
// shortly before is drawn translucent; the Carrier face the player last
// touched is drawn magenta.
#pragma once

// Nine boxes at player_position. Sets player part 5 first: raised a quarter
// turn while the fire key is held, lowered to rest while standing still.
void draw_player_model();

// Ten boxes face by face, then nine spheres, at (carrier_x, 40, carrier_z).
void draw_carrier_model();

// Seven boxes, nine spheres, six cylinders at walker_pos.
void draw_walker_model();

// Six spheres and two cylinders at flyer_pos.
void draw_flyer_model();

// Turns the current matrix by the orientation of three binary angles (256 a
// turn) about x, y and z, built as Allegro's quaternion and applied as one
// glRotatef.
void rotate_by_binary_angles(float x, float y, float z);
