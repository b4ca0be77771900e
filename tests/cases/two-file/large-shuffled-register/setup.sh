# 100,000 stations in shuffled order (station i is numbered k = i * 7919 mod 100,000), under
# ten leading letters (picked by k's last digit), each group tying on its first 14 bytes; the
# update list names all but three of them, backwards and partly respaced, and two new names,
# one of which sorts between stations.
awk 'BEGIN {
  n = 100000; print n
  for (i = 0; i < n; i++) { k = (i * 7919) % n; print i, substr("QWERTYUIOP", k % 10 + 1, 1) " Station Road Number " k }
  for (k = n - 1; k >= 0; k--) {
    if (k == 7 || k == 4242 || k == 99998) continue
    l = substr("QWERTYUIOP", k % 10 + 1, 1)
    print (k % 3 ? l " Station Road Number " k : "  " l "  Station  Road\tNumber " k " ") > "frissites.txt"
  }
  print "E Station Road Number 4242x" > "frissites.txt"
  print "Q Station Road Number 100000" > "frissites.txt"
}' > bemenet.txt
