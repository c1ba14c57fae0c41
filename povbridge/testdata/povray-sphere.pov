camera { location <0,1,-3> look_at <0,0,0> }
light_source { <2,4,-3> color rgb 1 }
sphere { 0, 1 pigment { color rgb <1,0.2,0.2> } }
