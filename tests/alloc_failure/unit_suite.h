// These tests are built once per unit, each executable with that unit's model and adapter
// linked in statically; suite names carry the unit's name so that CTest keeps them apart.
#pragma once

#define FMU_CONCAT_INNER(a, b) a##_##b
#define FMU_CONCAT(a, b) FMU_CONCAT_INNER(a, b)
#define UNIT_SUITE(name) FMU_CONCAT(name, UNIT_NAME)
#define FMU_STRINGIFY_INNER(a) #a
#define FMU_STRINGIFY(a) FMU_STRINGIFY_INNER(a)
#define UNIT_NAME_TEXT FMU_STRINGIFY(UNIT_NAME)
