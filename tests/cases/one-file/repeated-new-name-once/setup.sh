# Then 1,100 more new names, each given three times far apart: each is kept once, and the table
# grows while it holds them.
for round in 1 2 3; do seq -f 'New %04g' 1 1100; done >>F.IN
