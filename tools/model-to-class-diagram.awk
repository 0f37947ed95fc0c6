# Writes a model graph file (reader mode 12) as a class diagram file (reader
# mode 4), the input of tunnel and of graphmat -h 4:
#   awk -f tools/model-to-class-diagram.awk model.txt > class-diagram.txt
# It keeps the classes (numbered in their order), their attributes and
# methods (the members a containment arc, kind 9, joins to a class) and the
# relations of kinds 1 to 3 between classes. Packages, members of no class
# and the arcs of kinds 4 to 8 (calls, uses, typing) are left out.
BEGIN { FS = ","; classes = 0; members = 0; relations = 0 }
NR == 1 { next }
{ rest = substr($0, length($1) + length($2) + 3) }
$1 == "c" { id[$2] = classes; line[classes++] = "c," id[$2] "," rest; next }
$1 == "a" || $1 == "m" { kind[$2] = $1; text[$2] = rest; next }
$1 == "r" && $4 == 9 && ($2 in id) && ($3 in kind) { member[++members] = kind[$3] "," id[$2] "," text[$3]; next }
$1 == "r" && $4 >= 1 && $4 <= 3 && ($2 in id) && ($3 in id) { relation[++relations] = "r," id[$2] "," id[$3] "," $4 }
END {
  print classes "," relations
  for (k = 0; k < classes; k++) print line[k]
  for (k = 1; k <= members; k++) print member[k]
  for (k = 1; k <= relations; k++) print relation[k]
}
