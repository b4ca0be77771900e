mkdir F.IN
