// The showcase scene (showcase.json beside this file) for POV-Ray 3.7, written by hand so that
// POV-Ray draws the picture `lumetra render` draws: same objects, same places, same colours.
// bench/showcase/compare.sh renders both and times them; it hands POV-Ray this folder as library
// path (+L), where tiles.png and terrain.png are found. The pair is frozen here, apart from the
// example showcase in examples/, which is recomposed as the project grows.
//
// How our scene maps onto POV-Ray
// - Our render library works right-handed and shows +x on the left of the picture; the camera's
//   negative `right` vector does the same here, so every coordinate below is the scene file's.
// - The host's rotation angles reach the library negated (rotate [a, b, c] in the scene file is
//   rotate <-a, -b, -c> here); scale, then rotate, then translate, as in POV-Ray.
// - The shapes come as the library makes them: box and superquadric in the cube -1..1, sphere of
//   radius 1, cylinder and cone along z from 0 to 1, torus about z, disc and plane (a disc of
//   radius 10000) in the x-y plane facing z, height field fitted to -1..1 and stood up; the
//   scene file turns them to stand on its floor (y up).
// - Outlines are handed over closed; curved ones are quadratic pieces through implied points
//   half way between their controls, written here as the equivalent Bezier pieces.
// - Materials: a texture without a finish of its own has ambient 0.1, diffuse 0.6, phong 0.1,
//   phong_size 2 (DefaultFinish); an object without a material is white with ambient 0.1 and
//   diffuse 0.6 and no highlight (Matte). A finish reflects only with a reflection colour.
// - A texture moves with its object (declared before the object's transforms) unless the object
//   locks it (texture_lock "object": the texture stays in the world, after the transforms).
// - The camera looks at (0, 0.8, 0) moved by the Marble Ball it is linked to: (0, 1.8, 0).
//
// Remaining visible differences, with their reasons
// - The marble veins: the same pattern, colour map and turbulence, but the noise behind the
//   turbulence is our own, so the veins run elsewhere on both balls (the largest difference).
// - The Pillar's cap: the bumps are our own noise too, and the cap is lifted by 0.001 here
//   (and the Funnel's as well): in ours the caps win against the floor they share a plane with.
// - The Hills' far slopes: where the ridge shades the smooth field, ours is dark throughout,
//   POV-Ray shows stripes along the triangles (smooth normals facing the light behind the
//   triangle's own face); only a sliver of the Hills shows beside the middle ball.
// - Edges differ by a pixel here and there: both sample pixel corners and subdivide where they
//   differ by more than 0.3, but not on the same sub-samples.
// - Area light Fill: jittered over half a cell in ours, a whole cell in POV-Ray; it casts no
//   shadows, so only its faint diffuse light differs, too little to see.

#version 3.7;

global_settings {
  assumed_gamma 1.0            // colours are linear in both renderers
  ambient_light rgb 0.15       // environment ambient
  max_trace_level 4            // environment max_depth
  adc_bailout 0.01             // environment min_weight
}

background { rgb <0.55, 0.7, 0.9> }

// ---- Camera ------------------------------------------------------------------------------------
// fov 50 is the horizontal angle at aspect 4:3 (vertical 38.6 degrees).
camera {
  perspective
  location <0, 3, -8>
  look_at  <0, 1.8, 0>
  right    -x * 4/3             // right-handed: +x on the left, as our library shows it
  up       y
  angle    50
}

// ---- Lights (group "Lights") ---------------------------------------------------------------------

// Key Light: a point light.
light_source { <4, 6, -5> color rgb <1, 0.95, 0.9> }

// Spot: made at the origin aiming at (0, 0, -2), then placed by its transform.
light_source {
  <0, 0, 0>
  color rgb <0.6, 0.6, 0.7>
  spotlight
  point_at <0, 0, -2>
  radius 18
  falloff 25
  tightness 5
  rotate <-60, 0, 0>
  translate <0, 5, 3>
}

// Fill: an area light of 3 x 3 jittered samples over the square -1..1, stood up to face z;
// it casts no shadows.
light_source {
  <0, 0, 0>
  color rgb <0.3, 0.3, 0.35>
  area_light <2, 0, 0>, <0, 0, 2>, 3, 3
  adaptive 1
  jitter
  shadowless
  rotate <90, 0, 0>
  translate <-5, 4, -2>
}

// ---- Finishes and materials ----------------------------------------------------------------------

#declare DefaultFinish = finish { ambient 0.1 diffuse 0.6 phong 0.1 phong_size 2 }

#declare Matte = texture {
  pigment { rgb 1 }
  finish { ambient 0.1 diffuse 0.6 }
}

// Marble: a ramp through the colour map along x, stirred by turbulence.
#declare Marble = texture {
  pigment {
    marble
    ramp_wave                  // our marble keeps the raw ramp
    turbulence 0.8
    octaves 6
    color_map {
      [0.0 rgb <0.9, 0.9, 0.85>]
      [0.6 rgb <0.7, 0.65, 0.6>]
      [1.0 rgb <0.3, 0.25, 0.3>]
    }
  }
  finish { ambient 0.1 diffuse 0.7 phong 0.6 phong_size 60 }
}

// Bricks: cream mortar, red bricks.
#declare Bricks = texture {
  brick
    texture { pigment { rgb <0.8, 0.8, 0.75> } finish { DefaultFinish } },
    texture { pigment { rgb <0.6, 0.2, 0.1> } finish { DefaultFinish } }
  brick_size <1, 0.5, 0.5>
  mortar 0.05
}

// Layers: a see-through white-to-blue gradient over bumpy green. POV-Ray puts the last
// layer on top; our list starts with the top one.
#declare Layers =
  texture {
    pigment { rgb <0.2, 0.7, 0.3> }
    normal { bumps 0.4 }
    finish { DefaultFinish }
  }
  texture {
    pigment {
      function { abs(y) }      // our gradient runs on the distance from y = 0, both ways
      color_map {
        [0 rgbft <1, 1, 1, 0, 0.7>]
        [1 rgbft <0.2, 0.4, 1, 0, 0.2>]
      }
    }
    finish { DefaultFinish }
  }

// Tiles: the tile image (32 x 32 pixels) repeated across the plane, blended bilinearly. Our
// image maps count rows from the top of the picture, POV-Ray's from the bottom: hence the flip.
// Our blend runs from each pixel's corner, POV-Ray's from its centre: hence the half pixel.
// The material's own transform follows.
#declare Tiles = texture {
  pigment {
    image_map { png "tiles.png" gamma 1.0 interpolate 2 }
    translate <-0.5 / 32, 0.5 / 32, 0>
    scale <1, -1, 1>
  }
  finish { DefaultFinish }
  scale 2
  rotate <0, 0, -90>
}

// Checks: white and dark grey unit cubes, a little reflective.
#declare Checks = texture {
  pigment { checker rgb <1, 1, 1>, rgb <0.1, 0.1, 0.1> }
  finish { ambient 0.2 diffuse 0.6 reflection 0.3 }
}

// Haze: a faint glowing, absorbing medium. The scene defines it but no object wears it.
#declare Haze = material {
  interior {
    ior 1.0
    media {
      intervals 5
      emission <0.05, 0.05, 0.08>
      absorption <0.02, 0.02, 0.02>
    }
  }
}

// ---- Objects ---------------------------------------------------------------------------------------

// Floor: the plane is a disc of radius 10000 facing z, laid down. Its tiles are scaled 2 once
// more by the object's texture transform, in the plane's own coordinates.
disc {
  <0, 0, 0>, z, 10000
  texture { Tiles scale 2 }
  rotate <90, 0, 0>
}

// Marble Ball, and Ball Copy: a clone starts from its source's transform and adds its own.
#declare MarbleBall = sphere {
  <0, 0, 0>, 1
  texture { Marble }
  translate <0, 1, 0>
}
object { MarbleBall }
object { MarbleBall translate <2.5, 0, 2> }

// Crate: the bricks are locked to the world (texture_lock "object").
box {
  <-1, -1, -1>, <1, 1, 1>
  scale 0.6
  rotate <0, -30, 0>
  translate <-2.5, 0.6, 0>
  texture { Bricks }
}

// Pillar: a closed cylinder along z, scaled to radius 0.3 and length 2, stood up.
cylinder {
  <0, 0, 0>, <0, 0, 1>, 1
  texture { Layers }
  scale <0.3, 0.3, 2>
  rotate <-90, 0, 0>
  translate <2.5, 0, -2>
}

// Funnel: a closed cone, radius 0.6 at its base and 0.2 at its top, stood up.
cone {
  <0, 0, 0>, 0.6, <0, 0, 1>, 0.2
  texture { Matte }
  rotate <-90, 0, 0>
  translate <-2.5, 0, -2.5>
}

// Ring: a torus about z (POV-Ray's is about y, hence the first turn), laid on the floor.
torus {
  0.8, 0.15
  rotate <90, 0, 0>
  texture { Checks }
  rotate <-90, 0, 0>
  translate <0, 0.15, -2.5>
}

// Coin: a disc with a hole, facing z, laid on the floor, casting no shadow.
disc {
  <0, 0, 0>, z, 1, 0.3
  texture { Matte }
  scale 0.5
  rotate <-90, 0, 0>
  translate <1.2, 0.01, 1.5>
  no_shadow
}

// Gem: a superquadric with both powers 0.4.
superellipsoid {
  <0.4, 0.4>
  texture { Matte }
  scale 0.4
  translate <-1.2, 0.4, 1.8>
}

// Droplets: two spherical components and a cylindrical one (round ends), threshold 0.6.
blob {
  threshold 0.6
  sphere { <0, 0, 0>, 0.5, 1 }
  sphere { <0.5, 0.2, 0>, 0.4, 1 }
  cylinder { <-0.5, 0, 0>, <-0.5, 0.6, 0>, 0.2, 1 }
  texture { Matte }
  translate <3.5, 0.4, 0>
}

// Vase: a lathe about y. Its "cubic" outline reaches the library as quadratic pieces with a
// corner at the second point: a straight foot, then curves through the points half way
// between the controls, up to the last point on the axis.
lathe {
  bezier_spline
  16,
  <0, 0>, <0.133333, 0>, <0.266667, 0>, <0.4, 0>,
  <0.4, 0>, <0.466667, 0.333333>, <0.458333, 0.583333>, <0.375, 0.75>,
  <0.375, 0.75>, <0.291667, 0.916667>, <0.266667, 1.05>, <0.3, 1.15>,
  <0.3, 1.15>, <0.333333, 1.25>, <0.233333, 1.3>, <0, 1.3>
  texture { Matte }
  translate <-3.5, 0, 1.5>
}

// Rail: a swept outline extruded along z from 0 to 2. POV-Ray's prism sweeps along y with its
// outline in x-z, so the matrix trades y and z.
prism {
  linear_sweep
  linear_spline
  0, 2, 5,
  <0, 0>, <0.2, 0>, <0.2, 0.1>, <0, 0.1>, <0, 0>
  texture { Matte }
  matrix <1, 0, 0,  0, 0, 1,  0, 1, 0,  0, 0, 0>
  translate <-1, 0, 3>
}

// Star: an extrusion with the cone flag: the outline shrinks to a point at z = 0 and has its
// full size at z = 0.3 (POV-Ray's conic sweep from height 0 to 1, then pressed to 0.3).
prism {
  conic_sweep
  linear_spline
  0, 1, 11,
  <0, 1>, <0.22, 0.3>, <0.95, 0.3>, <0.36, -0.1>, <0.58, -0.8>,
  <0, -0.38>, <-0.58, -0.8>, <-0.36, -0.1>, <-0.95, 0.3>, <-0.22, 0.3>, <0, 1>
  texture { Matte }
  matrix <1, 0, 0,  0, 0, 1,  0, 1, 0,  0, 0, 0>
  scale <1, 1, 0.3>
  scale 0.4
  translate <1.5, 1.8, -1>
}

// Carved: a box with a sphere taken out of it.
difference {
  box { <-1, -1, -1>, <1, 1, 1> scale 0.5 }
  sphere { <0, 0, 0>, 1 scale 0.65 }
  texture { Matte }
  translate <0, 0.5, 2.5>
}

// Pyramid: pyramid.obj, five vertices and six flat triangles.
mesh {
  triangle { <-1, 0, -1>, <1, 0, -1>, <0, 1.5, 0> }
  triangle { <1, 0, -1>, <1, 0, 1>, <0, 1.5, 0> }
  triangle { <1, 0, 1>, <-1, 0, 1>, <0, 1.5, 0> }
  triangle { <-1, 0, 1>, <-1, 0, -1>, <0, 1.5, 0> }
  triangle { <-1, 0, -1>, <1, 0, 1>, <1, 0, -1> }
  triangle { <-1, 0, -1>, <-1, 0, 1>, <1, 0, 1> }
  texture { Matte }
  scale 0.5
  translate <-3.5, 0, -1>
}

// Tetra: a polygon mesh of four triangles.
mesh {
  triangle { <0, 0, 0>, <0, 0, 1>, <1, 0, 0> }
  triangle { <0, 0, 0>, <1, 0, 0>, <0, 1, 0> }
  triangle { <0, 0, 0>, <0, 1, 0>, <0, 0, 1> }
  triangle { <1, 0, 0>, <0, 0, 1>, <0, 1, 0> }
  texture { Matte }
  scale 0.5
  translate <3, 0, 2.5>
}

// Hills: terrain.png (8-bit grey, two mounds) as a smooth height field.
height_field {
  png "terrain.png"
  smooth
  texture { Matte }
  translate <-0.5, -0.5, -0.5>
  scale 2                                      // fitted to -1..1
  matrix <1, 0, 0,  0, 0, 1,  0, 1, 0,  0, 0, 0>  // stood up: heights along z, the top row up
  scale <2, 2, 0.4>
  rotate <-90, 0, 0>                           // laid down again, the top row nearest
  translate <-0.5, 0.41, 6>
}

// Sail: one bicubic patch, 16 control points row by row, 8 x 8 cells (subdivision 3).
bicubic_patch {
  type 1
  flatness 0
  u_steps 3
  v_steps 3
  <0, 0, 0>,   <1, 0, 0.3>, <2, 0, 0.3>, <3, 0, 0>,
  <0, 1, 0.2>, <1, 1, 0.6>, <2, 1, 0.6>, <3, 1, 0.2>,
  <0, 2, 0.2>, <1, 2, 0.6>, <2, 2, 0.6>, <3, 2, 0.2>,
  <0, 3, 0>,   <1, 3, 0.3>, <2, 3, 0.3>, <3, 3, 0>
  texture { Matte }
  scale 0.4
  rotate <0, -180, 0>
  translate <-0.3, 0.2, -4>
}
