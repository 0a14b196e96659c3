// The member tree widget (filled in by the member-tree work).
