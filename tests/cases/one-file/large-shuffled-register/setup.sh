# 100,000 stations in shuffled order (station i is numbered i * 7919 mod 100,000), all tying on
# their first 14 bytes; the update lines name all but three of them, backwards and partly
# respaced, and two new names.
awk 'BEGIN {
  n = 100000; print n
  for (i = 0; i < n; i++) print i, "Station Road Number " (i * 7919) % n
  for (k = n - 1; k >= 0; k--) {
    if (k == 7 || k == 4242 || k == 99998) continue
    print (k % 3 ? "Station Road Number " k : "  Station  Road\tNumber " k " ")
  }
  print "Station Road Number 4242x"
  print "Station Road Number 100000"
}' > F.IN
