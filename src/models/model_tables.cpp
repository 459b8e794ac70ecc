#include "models/model_tables.h"

#include "models/meshes.h"
#include "models/model_data.h"

void init_model_tables()
{
    init_player_model();
    init_walker_model();
    init_flyer_model();
    init_carrier_model();
    init_box_faces();
    init_sphere_proxy_faces();
    init_cylinder_proxy_faces();
}
