mkdir be.txt frissites.txt
